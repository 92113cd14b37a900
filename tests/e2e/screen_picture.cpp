#include "e2e/screen_picture.h"

#include <SDL_image.h>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr Uint8 kOpaque = 255;
constexpr double kUnlike = 255.0;  // what a comparison with nothing to compare reports

int channelDifference(const SDL_Color& a, const SDL_Color& b) {
  return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

}  // namespace

ScreenPicture::ScreenPicture(const std::string& pngPath) {
  SDL_Surface* loaded = IMG_Load(pngPath.c_str());
  if (loaded == nullptr) return;
  SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
  SDL_FreeSurface(loaded);
  if (rgba == nullptr) return;
  width_ = rgba->w;
  height_ = rgba->h;
  pixels_.resize(static_cast<size_t>(width_) * height_);
  for (int y = 0; y < height_; ++y) {
    const auto* row = static_cast<const SDL_Color*>(rgba->pixels) + y * rgba->pitch / 4;
    std::copy(row, row + width_, pixels_.begin() + static_cast<size_t>(y) * width_);
  }
  SDL_FreeSurface(rgba);
}

SDL_Color ScreenPicture::pixel(int x, int y) const {
  return pixels_[static_cast<size_t>(y) * width_ + x];
}

double ScreenPicture::brightness(const SDL_Rect& area) const {
  double sum = 0.0;
  for (int y = area.y; y < area.y + area.h; ++y) {
    for (int x = area.x; x < area.x + area.w; ++x) {
      const SDL_Color colour = pixel(x, y);
      sum += colour.r + colour.g + colour.b;
    }
  }
  return sum / (3.0 * area.w * area.h);
}

double ScreenPicture::differenceFrom(const ScreenPicture& overlay, int x, int y) const {
  double sum = 0.0;
  int counted = 0;
  for (int oy = 0; oy < overlay.height(); ++oy) {
    for (int ox = 0; ox < overlay.width(); ++ox) {
      const SDL_Color drawn = overlay.pixel(ox, oy);
      if (drawn.a != kOpaque) continue;
      sum += channelDifference(pixel(x + ox, y + oy), drawn);
      ++counted;
    }
  }
  return counted == 0 ? kUnlike : sum / (3.0 * counted);
}

double ScreenPicture::differenceFrom(const ScreenPicture& other, const SDL_Rect& area) const {
  double sum = 0.0;
  for (int y = area.y; y < area.y + area.h; ++y) {
    for (int x = area.x; x < area.x + area.w; ++x)
      sum += channelDifference(pixel(x, y), other.pixel(x, y));
  }
  return sum / (3.0 * area.w * area.h);
}

double ScreenPicture::differenceFromStretched(const ScreenPicture& original,
                                              const SDL_Rect& area) const {
  if (original.empty() || area.x + area.w > width_ || area.y + area.h > height_) return kUnlike;
  const double scaleX = static_cast<double>(area.w) / original.width();
  const double scaleY = static_cast<double>(area.h) / original.height();
  double sum = 0.0;
  for (int oy = 0; oy < original.height(); ++oy) {
    const int y = area.y + static_cast<int>((oy + 0.5) * scaleY);
    for (int ox = 0; ox < original.width(); ++ox) {
      const int x = area.x + static_cast<int>((ox + 0.5) * scaleX);
      sum += channelDifference(pixel(x, y), original.pixel(ox, oy));
    }
  }
  return sum / (3.0 * original.width() * original.height());
}
