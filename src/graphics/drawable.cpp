#include "graphics/drawable.h"

#include "base/log.h"

namespace TarnwickApp {

Drawable::~Drawable() {
  logPrint("Destroyed drawable!\n");
  setShown(false);
}

void Drawable::setShown(bool show) {
  if (shown_ && !show) drawList->remove(position_);
  if (!shown_ && show) position_ = drawList->insert(this);
  shown_ = show;
}

void Drawable::setZ(int z) {
  if (shown_) drawList->remove(position_);
  z_ = z;
  if (shown_) position_ = drawList->insert(this);
}

}  // namespace TarnwickApp
