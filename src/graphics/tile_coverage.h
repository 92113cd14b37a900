#pragma once

// What a picture's pixels hide of what they are drawn over, tile by tile: each square tile is
// empty (every pixel fully transparent), opaque (every pixel fully opaque) or mixed. A picture
// drawn part by part can then skip what shows nothing and copy what hides everything without
// blending: the same pixels as blending it whole, with far fewer read and written. A stage's
// picture is mostly sky and solid ground.

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <vector>

class TileCoverage {
 public:
  enum class Kind : std::uint8_t { empty, opaque, mixed };

  // Nothing known of the picture: all of it counts as mixed.
  TileCoverage() = default;
  // Reads a decoded picture's transparency: 32-bit pixels with 8 bits of alpha tile by tile, a
  // format without alpha (no palette, no colour key) as opaque all over; any other as unknown.
  explicit TileCoverage(const SDL_Surface* surface);

  // Every pixel opaque.
  bool opaque() const;
  // Calls `draw` with each part of `region` (picture pixels) whose tiles are all of `kind`:
  // runs of neighbouring tiles along a row, clipped to `region`.
  void forEachPart(const SDL_Rect& region, Kind kind,
                   const std::function<void(const SDL_Rect&)>& draw) const;

 private:
  void readAlpha(const SDL_Surface* surface);
  Kind kindAt(int column, int row) const { return kinds_[row * columns_ + column]; }

  int tileSize_ = 0;  // pixels; 0 for a picture of one kind all over, however large
  int columns_ = 1;
  int rows_ = 1;
  std::vector<Kind> kinds_{Kind::mixed};
};
