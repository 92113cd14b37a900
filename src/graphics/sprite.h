#pragma once

// Puts one bitmap on the render target at a position, about a pivot, scaled, rotated and
// mirrored. A sprite never owns its bitmap and knows no camera: its owner converts world
// positions to target pixels.

#include <SDL.h>

#include "graphics/drawable.h"

class Bitmap;

namespace TarnwickApp {

class Sprite : public Drawable {
 public:
  Sprite();
  ~Sprite() override;

  void draw() override;

  // With adoptSize the sprite takes the bitmap's size and is shown; without, only the picture
  // changes (the player swaps animation frames this way and keeps its first frame's size).
  void setBitmap(Bitmap* bitmap, bool adoptSize);
  void setX(int x) { x_ = x; }
  void setY(int y) { y_ = y; }
  void setCenterX(int centerX) { centerX_ = centerX; }
  void setCenterY(int centerY) { centerY_ = centerY; }
  void setScaleX(double scaleX) { scaleX_ = scaleX; }
  void setScaleY(double scaleY) { scaleY_ = scaleY; }
  // Radians, clockwise on screen about the pivot.
  void setAngle(double radians) { angle_ = radians; }
  void setFlip(SDL_RendererFlip flip) { flip_ = flip; }

  Bitmap* bitmap() const { return bitmap_; }
  int x() const { return x_; }
  int y() const { return y_; }
  int width() const { return width_; }
  int height() const { return height_; }
  SDL_RendererFlip flip() const { return flip_; }
  double angle() const { return angle_; }

  // Everything draw() hands the renderer: the picture, its part, where it goes and how it is
  // turned and mirrored.
  struct Placement {
    const Bitmap* bitmap;
    SDL_Rect source;
    SDL_Rect dest;
    double degrees;
    SDL_Point pivot;
    SDL_RendererFlip flip;
  };
  Placement placement() const;
  // Draws a placement onto the renderer's current target, as draw() does the sprite.
  static void drawPlacement(const Placement& placement);

  // Where draw() puts the picture: the destination rectangle and the rotation pivot in it.
  SDL_Rect destination() const;
  SDL_Point scaledPivot() const;
  double angleInDegrees() const;

 private:
  Bitmap* bitmap_ = nullptr;
  int x_ = 0;
  int y_ = 0;
  int width_ = 0;
  int height_ = 0;
  int centerX_ = 0;
  int centerY_ = 0;
  double scaleX_ = 1.0;
  double scaleY_ = 1.0;
  double angle_ = 0.0;
  SDL_RendererFlip flip_ = SDL_FLIP_NONE;
};

}  // namespace TarnwickApp
