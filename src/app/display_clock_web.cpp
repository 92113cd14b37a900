#include <emscripten.h>

#include "app/display_clock.h"

namespace {

// Animation frames come a refresh apart give or take a little; a frame due within this much of
// one is drawn in it, so that the wobble never costs a refresh.
constexpr double kEarlyShareOfStep = 0.25;
constexpr double kStepSeconds = 1.0 / 60.0;

// Until the first animation frame: the time the page has been open.
double frameTime = emscripten_get_now() / 1000.0;
// When the next frame is due; at once, until the pacer says otherwise.
double dueTime = 0.0;

}  // namespace

double displayClockNow() {
  return frameTime;
}

void waitForDisplayClock(double deadline) {
  dueTime = deadline;
}

bool displayFrameDue(double seconds) {
  frameTime = seconds;
  if (frameTime < dueTime - kEarlyShareOfStep * kStepSeconds) return false;
  // A present at one refresh a step waits for nothing: the next animation frame is due.
  dueTime = 0.0;
  return true;
}
