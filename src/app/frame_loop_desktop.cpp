#include "app/frame_loop.h"

bool hostGivesSpareTime() {
  return false;
}

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
