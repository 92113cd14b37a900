// The stage pictures must agree with the terrain the game builds from the same tables: ground
// is drawn solid wherever a terrain box is, and the picture is open just above each walkable top,
// so what the player sees standing is what the player stands on.

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "world/stage_layout.h"

namespace {

constexpr int kInset = 5;             // px inside a box edge where the ground must look solid
constexpr int kAbove = 8;             // px above a walkable top where the picture must be open
constexpr int kSamplesAlongEdge = 7;  // sample columns per box or along the slope
constexpr Uint8 kSolidAlpha = 200;
constexpr Uint8 kOpenAlpha = 40;

// A terrain box with sorted corners: left < right, top < bottom (y grows downward).
struct Box {
  int left;
  int top;
  int right;
  int bottom;
  bool notGround;

  bool covers(int x, int y, int margin) const {
    return x >= left - margin && x <= right + margin && y >= top - margin && y <= bottom + margin;
  }
};

template <size_t N>
std::vector<Box> sortedBoxes(const std::array<StageLayout::TerrainBox, N>& table) {
  std::vector<Box> boxes;
  for (const StageLayout::TerrainBox& b : table) {
    boxes.push_back({std::min(b.x1, b.x2), std::min(b.y1, b.y2), std::max(b.x1, b.x2),
                     std::max(b.y1, b.y2), b.notGround});
  }
  return boxes;
}

std::vector<Box> terrainOfStage(int stage) {
  switch (stage) {
    case 1:
      return sortedBoxes(StageLayout::kStage1Terrain);
    case 2:
      return sortedBoxes(StageLayout::kStage2Terrain);
    case 4:
      return sortedBoxes(StageLayout::kStage4Terrain);
    default:
      return {};
  }
}

// The walkable line of stage 3's slope at picture column x.
int slopeTopAt(int x) {
  using namespace StageLayout;
  return kStage3SlopeTopLeftY +
         (kStage3SlopeTopRightY - kStage3SlopeTopLeftY) * x / kStage3SlopeRightX;
}

// A stage picture read back as 32-bit ARGB pixels.
class StagePicture {
 public:
  explicit StagePicture(int stage)
      : path_(std::string(TARNWICK_SOURCE_DIR) + "/assets/images/stage" + std::to_string(stage) +
              ".png") {
    SDL_Surface* loaded = IMG_Load(path_.c_str());
    if (loaded == nullptr) return;
    surface_.reset(SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0));
    SDL_FreeSurface(loaded);
  }

  bool loaded() const { return surface_ != nullptr; }
  const std::string& path() const { return path_; }
  int width() const { return surface_->w; }
  int height() const { return surface_->h; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width() && y < height(); }

  Uint8 alphaAt(int x, int y) const {
    const auto* row = static_cast<const Uint8*>(surface_->pixels) + y * surface_->pitch;
    return reinterpret_cast<const Uint32*>(row)[x] >> 24;
  }

 private:
  std::string path_;
  std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> surface_{nullptr, &SDL_FreeSurface};
};

std::string where(int stage, const std::string& part, int x, int y) {
  std::ostringstream text;
  text << "stage " << stage << ", " << part << ", pixel (" << x << ", " << y << ")";
  return text.str();
}

// Columns spread evenly over [left + kInset, right - kInset], kept inside the picture.
std::vector<int> sampleColumns(int left, int right, int pictureWidth) {
  left = std::max(left, 0) + kInset;
  right = std::min(right, pictureWidth) - kInset;
  std::vector<int> columns;
  for (int i = 0; i < kSamplesAlongEdge && left <= right; ++i) {
    columns.push_back(left + (right - left) * i / (kSamplesAlongEdge - 1));
  }
  return columns;
}

bool coveredByAnyBox(const std::vector<Box>& boxes, int x, int y) {
  for (const Box& box : boxes) {
    if (box.covers(x, y, kInset)) return true;
  }
  return false;
}

class StagePictures : public ::testing::TestWithParam<int> {
 protected:
  static void SetUpTestSuite() { IMG_Init(IMG_INIT_PNG); }
  static void TearDownTestSuite() { IMG_Quit(); }

  void SetUp() override {
    stage = GetParam();
    picture = std::make_unique<StagePicture>(stage);
    ASSERT_TRUE(picture->loaded()) << picture->path() << ": " << IMG_GetError();
    boxes = terrainOfStage(stage);
  }

  int stage = 0;
  std::unique_ptr<StagePicture> picture;
  std::vector<Box> boxes;
};

// Stages 1, 2 and 4 are built from boxes; stage 3 is one slope.
class StageBoxPictures : public StagePictures {};
class StageSlopePicture : public StagePictures {};

TEST_P(StagePictures, HasTheSizeTheTerrainIsLaidOutFor) {
  EXPECT_EQ(picture->width(), StageLayout::kPictureSizes[stage - 1].width);
  EXPECT_EQ(picture->height(), StageLayout::kPictureSizes[stage - 1].height);
}

TEST_P(StageBoxPictures, GroundIsSolidJustInsideEveryTerrainBox) {
  for (size_t i = 0; i < boxes.size(); ++i) {
    const Box& box = boxes[i];
    const int rows[] = {box.top + kInset, (box.top + box.bottom) / 2, box.bottom - kInset};
    for (int x : sampleColumns(box.left, box.right, picture->width())) {
      for (int y : rows) {
        if (!picture->contains(x, y)) continue;
        EXPECT_GE(picture->alphaAt(x, y), kSolidAlpha)
            << where(stage, "inside box " + std::to_string(i + 1), x, y);
      }
    }
  }
}

TEST_P(StageBoxPictures, PictureIsOpenJustAboveEveryWalkableTop) {
  for (size_t i = 0; i < boxes.size(); ++i) {
    const Box& box = boxes[i];
    if (box.notGround) continue;
    const int y = box.top - kAbove;
    for (int x : sampleColumns(box.left, box.right, picture->width())) {
      if (!picture->contains(x, y) || coveredByAnyBox(boxes, x, y)) continue;
      EXPECT_LE(picture->alphaAt(x, y), kOpenAlpha)
          << where(stage, "above box " + std::to_string(i + 1), x, y);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryStage, StagePictures, ::testing::Values(1, 2, 3, 4));
INSTANTIATE_TEST_SUITE_P(BoxStages, StageBoxPictures, ::testing::Values(1, 2, 4));

TEST_P(StageSlopePicture, IsSolidUnderTheSlopeAndOpenAboveIt) {
  const int bottom = StageLayout::kStage3SlopeBottomY;
  for (int x : sampleColumns(0, StageLayout::kStage3SlopeRightX, picture->width())) {
    const int top = slopeTopAt(x);
    for (int y : {top + kInset, (top + bottom) / 2, bottom - kInset}) {
      EXPECT_GE(picture->alphaAt(x, y), kSolidAlpha) << where(stage, "under the slope", x, y);
    }
    EXPECT_LE(picture->alphaAt(x, top - kAbove), kOpenAlpha)
        << where(stage, "above the slope", x, top - kAbove);
  }
}

INSTANTIATE_TEST_SUITE_P(SlopeStage, StageSlopePicture, ::testing::Values(3));

}  // namespace
