#include <emscripten.h>

#include "app/touch_controls.h"

namespace {

// The page's controls (web/index.html) keep what the fingers hold in Module.touchControls.
// The bodies are JavaScript, which clang-format would break.
// clang-format off
EM_JS(int, pageHeldActions, (), {
  const controls = Module["touchControls"];
  return controls ? controls.take() : 0;
});

EM_JS(void, pageShowLayout, (int layout), {
  const controls = Module["touchControls"];
  if (controls) controls.setLayout(layout);
});
// clang-format on

}  // namespace

// SDL would turn a finger on the picture into the left mouse button, an attack; only the page's
// controls act.
TouchControls::TouchControls() {
  SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
}

Uint32 TouchControls::takeHeldActions() {
  return static_cast<Uint32>(pageHeldActions());
}

void TouchControls::offer(TouchLayout layout) {
  pageShowLayout(static_cast<int>(layout));
}
