#include <SDL.h>
#include <emscripten.h>

#include "app/display_clock.h"

namespace {

// With ASYNCIFY, SDL hands the page back to the browser after every present by default. The game
// does that itself, in its wait for the animation frame below, and SDL is built without
// ASYNCIFY's instrumentation (cmake/web.cmake), so a hand-back from inside it would end the page.
[[maybe_unused]] const bool kPresentsKeepTheTurn = SDL_SetHint(SDL_HINT_EMSCRIPTEN_ASYNCIFY, "0");

// Animation frames come a refresh apart give or take a little; a frame due within this much of
// one is drawn in it, so that the wobble never costs a refresh.
constexpr double kEarlyShareOfStep = 0.25;
constexpr double kStepSeconds = 1.0 / 60.0;

// Until the first animation frame: the time the page has been open.
double frameTime = emscripten_get_now() / 1000.0;

// Returns to the browser, and resumes the game in the next animation frame, with its time in
// milliseconds. Counts the frames the game has drawn, for the page and its tests.
// The body is JavaScript, which clang-format would break.
// clang-format off
EM_ASYNC_JS(double, nextAnimationFrame, (int drewFrame), {
  if (drewFrame) Module["framesDrawn"] = (Module["framesDrawn"] || 0) + 1;
  return await new Promise(resolve => requestAnimationFrame(resolve));
});
// clang-format on

}  // namespace

double displayClockNow() {
  return frameTime;
}

void waitForDisplayClock(double deadline) {
  int drewFrame = 1;
  do {
    frameTime = nextAnimationFrame(drewFrame) / 1000.0;
    drewFrame = 0;
  } while (frameTime < deadline - kEarlyShareOfStep * kStepSeconds);
}
