#include "graphics/draw_list.h"

#include "graphics/drawable.h"

namespace TarnwickApp {

bool DrawList::ByDepth::operator()(const Drawable* a, const Drawable* b) const {
  return a->z() < b->z();
}

}  // namespace TarnwickApp

TarnwickApp::DrawList* drawList = nullptr;
