#include "app/touch_controls.h"

// The desktop has no page to touch: nothing is ever held, nothing is shown.
TouchControls::TouchControls() = default;

Uint32 TouchControls::takeHeldActions() {
  return 0;
}

void TouchControls::offer(TouchLayout) {}
