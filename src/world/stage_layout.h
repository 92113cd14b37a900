#pragma once

// The layout of the four stages, in one place: the game builds its colliders from these tables
// and tools/scenery/draw_stages.py draws the stage pictures from the same rows, so the ground a
// player sees and the ground it stands on cannot drift apart. Keep one row per line: the art
// generator reads this file.

#include <array>

namespace StageLayout {

// One terrain box in stage pixels: x to the right, y down from the stage picture's top edge.
// The two corners may come in either order. notGround boxes are walls: they block but are never
// stood on.
struct TerrainBox {
  int x1;
  int y1;
  int x2;
  int y2;
  bool notGround;
};

// The size each stage picture is drawn at (pixels). The game itself reads the size of the
// loaded picture; these are what the art is made to.
struct PictureSize {
  int width;
  int height;
};

constexpr std::array<PictureSize, 4> kPictureSizes = {{
    {3300, 600},   // stage 1
    {3200, 1480},  // stage 2
    {4000, 2000},  // stage 3
    {1000, 600},   // stage 4
}};

constexpr std::array<TerrainBox, 3> kStage1Terrain = {{
    {-20, 467, 0, 0, true},      // left wall
    {0, 600, 3200, 487, false},  // floor
    {3200, 467, 3300, 0, true},  // right wall
}};

constexpr std::array<TerrainBox, 17> kStage2Terrain = {{
    {0, 1480, 317, 1401, false},
    {484, 1401, 572, 1321, false},
    {753, 1311, 844, 1230, false},
    {1016, 1201, 1107, 1123, false},
    {1174, 1084, 1257, 1004, false},
    {1353, 1004, 3010, 929, false},
    {941, 924, 1214, 845, false},
    {724, 880, 807, 799, false},
    {530, 828, 620, 745, false},
    {366, 728, 454, 691, false},
    {590, 658, 680, 619, false},
    {819, 658, 903, 619, false},
    {1091, 658, 1175, 619, false},
    {1381, 658, 1472, 619, false},
    {1654, 658, 1741, 619, false},
    {1925, 658, 2011, 619, false},
    {3010, 963, 3187, 923, false},
}};

// Stage 3 is one slope: a quadrilateral whose bottom edge lies at y 2000 from x 0 to x 4000,
// whose right edge rises to y 1618 and whose top edge falls from y 263 at x 0 to y 1618 at x 4000.
constexpr int kStage3SlopeBottomY = 2000;
constexpr int kStage3SlopeRightX = 4000;  // 62.5 units
constexpr int kStage3SlopeTopLeftY = 263;
constexpr int kStage3SlopeTopRightY = 1618;

constexpr std::array<TerrainBox, 10> kStage4Terrain = {{
    {100, 529, 365, 504, false},
    {434, 453, 566, 428, false},
    {634, 529, 899, 505, false},
    {790, 466, 920, 441, false},
    {855, 402, 986, 377, false},
    {233, 351, 365, 326, false},
    {101, 273, 232, 249, false},
    {284, 173, 547, 148, false},
    {550, 247, 681, 224, false},
    {657, 326, 787, 301, false},
}};

}  // namespace StageLayout
