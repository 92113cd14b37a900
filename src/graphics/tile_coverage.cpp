#include "graphics/tile_coverage.h"

#include <algorithm>

namespace {

// Small enough that sky and ground rarely share a tile, large enough that a window's worth of
// picture is a few dozen copies.
constexpr int kTileSize = 50;  // pixels

bool hasEightBitAlpha(const SDL_PixelFormat* format) {
  return format->BytesPerPixel == 4 && format->Amask == (Uint32{0xff} << format->Ashift);
}

}  // namespace

TileCoverage::TileCoverage(const SDL_Surface* surface) {
  if (surface == nullptr) return;
  const SDL_PixelFormat* format = surface->format;
  if (hasEightBitAlpha(format)) {
    readAlpha(surface);
  } else if (!SDL_ISPIXELFORMAT_ALPHA(format->format) &&
             !SDL_ISPIXELFORMAT_INDEXED(format->format) &&
             !SDL_HasColorKey(const_cast<SDL_Surface*>(surface))) {
    kinds_[0] = Kind::opaque;
  }
}

void TileCoverage::readAlpha(const SDL_Surface* surface) {
  tileSize_ = kTileSize;
  columns_ = (surface->w + kTileSize - 1) / kTileSize;
  rows_ = (surface->h + kTileSize - 1) / kTileSize;
  // Per tile, the lowest and highest alpha of its pixels; a tile found mixed is read no further.
  std::vector<Uint8> lowest(static_cast<size_t>(columns_) * rows_, SDL_ALPHA_OPAQUE);
  std::vector<Uint8> highest(lowest.size(), SDL_ALPHA_TRANSPARENT);
  const Uint8 shift = surface->format->Ashift;
  for (int y = 0; y < surface->h; ++y) {
    const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(surface->pixels) +
                                                      y * surface->pitch);
    const size_t firstTile = static_cast<size_t>(y / kTileSize) * columns_;
    for (int column = 0; column < columns_; ++column) {
      const size_t tile = firstTile + column;
      Uint8 low = lowest[tile];
      Uint8 high = highest[tile];
      if (low != SDL_ALPHA_OPAQUE && high != SDL_ALPHA_TRANSPARENT) continue;
      const int end = std::min(surface->w, (column + 1) * kTileSize);
      for (int x = column * kTileSize; x < end; ++x) {
        const auto alpha = static_cast<Uint8>(row[x] >> shift);
        low = std::min(low, alpha);
        high = std::max(high, alpha);
      }
      lowest[tile] = low;
      highest[tile] = high;
    }
  }
  kinds_.assign(lowest.size(), Kind::mixed);
  for (size_t tile = 0; tile < kinds_.size(); ++tile) {
    if (highest[tile] == SDL_ALPHA_TRANSPARENT) kinds_[tile] = Kind::empty;
    if (lowest[tile] == SDL_ALPHA_OPAQUE) kinds_[tile] = Kind::opaque;
  }
}

bool TileCoverage::opaque() const {
  return std::all_of(kinds_.begin(), kinds_.end(), [](Kind kind) { return kind == Kind::opaque; });
}

void TileCoverage::forEachPart(const SDL_Rect& region, Kind kind,
                               const std::function<void(const SDL_Rect&)>& draw) const {
  if (region.w <= 0 || region.h <= 0 || region.x < 0 || region.y < 0) return;
  if (tileSize_ == 0) {
    if (kinds_[0] == kind) draw(region);
    return;
  }
  const int right = region.x + region.w;
  const int bottom = region.y + region.h;
  const int lastColumn = std::min(columns_, (right - 1) / tileSize_ + 1);
  const int lastRow = std::min(rows_, (bottom - 1) / tileSize_ + 1);
  for (int row = region.y / tileSize_; row < lastRow; ++row) {
    const int top = std::max(region.y, row * tileSize_);
    const int height = std::min(bottom, (row + 1) * tileSize_) - top;
    for (int column = region.x / tileSize_; column < lastColumn; ++column) {
      if (kindAt(column, row) != kind) continue;
      const int first = column;
      while (column + 1 < lastColumn && kindAt(column + 1, row) == kind) ++column;
      const int left = std::max(region.x, first * tileSize_);
      const int end = std::min(right, (column + 1) * tileSize_);
      draw(SDL_Rect{left, top, end - left, height});
    }
  }
}
