#include "graphics/sprite.h"

#include "base/log.h"
#include "graphics/bitmap.h"

namespace TarnwickApp {

namespace {

// Radians to degrees as the game has always turned its sprites (not 180/pi).
constexpr double kDegreesPerRadian = 57.3;

}  // namespace

Sprite::Sprite() {
  logPrint("Sprite created!\n");
}

Sprite::~Sprite() {
  logPrint("Sprite destructed!\n");
}

void Sprite::setBitmap(Bitmap* bitmap, bool adoptSize) {
  bitmap_ = bitmap;
  if (!adoptSize) return;
  width_ = bitmap->width();
  height_ = bitmap->height();
  setShown(true);
}

SDL_Point Sprite::scaledPivot() const {
  return {static_cast<int>(centerX_ * scaleX_), static_cast<int>(centerY_ * scaleY_)};
}

SDL_Rect Sprite::destination() const {
  const SDL_Point pivot = scaledPivot();
  return {x_ - pivot.x, y_ - pivot.y, static_cast<int>(width_ * scaleX_),
          static_cast<int>(height_ * scaleY_)};
}

double Sprite::angleInDegrees() const {
  return angle_ * kDegreesPerRadian;
}

Sprite::Placement Sprite::placement() const {
  return {bitmap_, {0, 0, width_, height_}, destination(), angleInDegrees(), scaledPivot(), flip_};
}

void Sprite::drawPlacement(const Placement& placement) {
  Bitmap::drawTurned(placement.bitmap, placement.source, placement.dest, placement.degrees,
                     placement.pivot, placement.flip);
}

void Sprite::draw() {
  if (bitmap_ == nullptr) return;
  drawPlacement(placement());
}

}  // namespace TarnwickApp
