#include <emscripten.h>
#include <emscripten/html5.h>

#include "app/display_clock.h"
#include "app/frame_loop.h"

namespace {

// Loading gives the page back after this long in each animation frame, for it to draw the
// progress and handle its events.
constexpr double kLoadingMsPerAnimationFrame = 25.0;
// After the game's frame, work that can wait goes on until this long after the animation frame
// began: a quarter of a step, the rest of it left to the browser to show the frame.
constexpr double kBusyMsPerAnimationFrame = 4.0;

GameSteps game;
bool loading = true;

// Counts the frames the game has drawn, for the page and its tests.
void countFrameDrawn() {
  EM_ASM({ Module["framesDrawn"] = (Module["framesDrawn"] || 0) + 1; });
}

// Loads for a share of the animation frame; true once loading is over and the game has begun.
bool loadForAWhile(bool& played) {
  const double until = emscripten_get_now() + kLoadingMsPerAnimationFrame;
  while (emscripten_get_now() < until) {
    if (game.load()) continue;
    loading = false;
    played = game.begin();
    return true;
  }
  return false;
}

EM_BOOL onAnimationFrame(double timeMs, void*) {
  if (loading) {
    bool played = true;
    if (!loadForAWhile(played)) return EM_TRUE;
    if (played) return EM_TRUE;
    game.end(false);
    return EM_FALSE;
  }
  if (!displayFrameDue(timeMs / 1000.0)) return EM_TRUE;
  const bool goesOn = game.frame();
  countFrameDrawn();
  if (goesOn) {
    game.spare((timeMs + kBusyMsPerAnimationFrame - emscripten_get_now()) / 1000.0);
    return EM_TRUE;
  }
  game.end(true);
  return EM_FALSE;
}

}  // namespace

bool hostGivesSpareTime() {
  return true;
}

void runGameSteps(const GameSteps& steps) {
  game = steps;
  emscripten_request_animation_frame_loop(onAnimationFrame, nullptr);
}
