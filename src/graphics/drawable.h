#pragma once

// Anything that can be shown: while shown it sits in the one draw list, ordered by its depth z,
// and the render pass draws it every frame, lowest z first.

#include "graphics/draw_list.h"

namespace TarnwickApp {

class Drawable {
 public:
  Drawable() = default;
  virtual ~Drawable();
  Drawable(const Drawable&) = delete;
  Drawable& operator=(const Drawable&) = delete;

  // Draws into the renderer's current target, shown or not.
  virtual void draw() = 0;
  // Whether draw() puts an opaque pixel on every pixel of a window-sized target, so that
  // nothing drawn before it can be seen.
  virtual bool coversTarget() const { return false; }

  // Puts the drawable into the draw list (after everything of the same z) or takes it out.
  void setShown(bool show);
  // Stores z; a shown drawable is re-inserted, which brings it to the top of its layer.
  void setZ(int z);

  bool shown() const { return shown_; }
  int z() const { return z_; }

 private:
  DrawList::Position position_;
  bool shown_ = false;
  int z_ = 0;
};

}  // namespace TarnwickApp
