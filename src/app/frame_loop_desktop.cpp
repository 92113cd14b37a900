#include "app/frame_loop.h"

void runGameSteps(const GameSteps& steps) {
  while (steps.load()) {
  }
  const bool played = steps.begin();
  if (played) {
    while (steps.frame()) {
    }
  }
  steps.end(played);
}
