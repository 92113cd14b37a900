#pragma once

// The world's picture as of its last render, kept as what to draw rather than as pixels: the
// panorama, the stage picture where the camera put it, and every sprite's placement. The render
// pass draws it straight onto whatever the frame is being put together on (the window, a screen
// capture, a fade's picture), which spares a whole-window copy each frame, and it still shows
// the world as rendered after later steps have moved it on, as the capture at a change of stage
// or at game over must. A sprite itself, so that the log shows it made and destroyed with the
// world.

#include <SDL.h>

#include <vector>

#include "graphics/sprite.h"

class Bitmap;

class WorldDrawing : public TarnwickApp::Sprite {
 public:
  // Shown, at the size of `frame`, and blank until the first picture.
  explicit WorldDrawing(Bitmap* frame);

  // Begins a new picture: the blank, `panorama` over the whole window and `stageImage` with its
  // top left corner at `stageAt` (either may be null).
  void beginPicture(const Bitmap* panorama, const Bitmap* stageImage, SDL_Point stageAt);
  // Adds a sprite as it stands now, over what the picture holds.
  void add(const TarnwickApp::Sprite& sprite);

  // Draws the picture onto the renderer's current target.
  void draw() override;
  // Always: the panorama, or the blank where it leaves anything uncovered.
  bool coversTarget() const override { return true; }

 private:
  void drawBackground() const;

  const Bitmap* panorama_ = nullptr;
  const Bitmap* stageImage_ = nullptr;
  SDL_Point stageAt_{0, 0};
  std::vector<Placement> placements_;
};
