#pragma once

#include <functional>
#include <memory>

#include "app/transition.h"

class Scene;

// What a screen asks of the main loop when its frame ends: stay, stay behind a transition, or
// leave. For a screen that leaves, the main loop freezes the display on its last picture, lets
// the screen hide or silence what it owns, and plays the rest (the fades, deleting the screen,
// making the next one), one frame at a time.
struct SceneChange {
  // Makes the next screen; called once the leaving screen is gone.
  using Builder = std::function<std::unique_ptr<Scene>()>;

  // The screen stays current.
  static SceneChange stay() { return {}; }
  // The screen stays current; `transition` plays, then the rest of the screen's frame runs
  // (Scene::resume).
  static SceneChange after(Transition transition) {
    SceneChange change;
    change.interlude = std::move(transition);
    change.resumes = true;
    return change;
  }
  // Hides what the screen owns once frozen, fades to black over `fadeOutFrames`; then there is
  // no screen, and the game ends.
  static SceneChange quit(std::function<void()> hide, int fadeOutFrames) {
    return {true, std::move(hide), fadeOutFrames, nullptr, 0, false, {}};
  }
  // Hides what the screen owns once frozen, fades to black over `fadeOutFrames`; then the next
  // screen is built on the black, runs its first frame and fades in over `fadeInFrames`.
  static SceneChange throughBlack(std::function<void()> hide, int fadeOutFrames, Builder next,
                                  int fadeInFrames) {
    return {true, std::move(hide), fadeOutFrames, std::move(next), fadeInFrames, false, {}};
  }
  // The next screen is built at once, and the frozen picture fades into it over `fadeInFrames`.
  static SceneChange fadeInto(Builder next, int fadeInFrames) {
    return {true, nullptr, 0, std::move(next), fadeInFrames, false, {}};
  }

  bool leaves = false;
  std::function<void()> hide;  // empty: nothing to hide
  int fadeOutFrames = 0;       // 0: no fade to black
  Builder next;                // empty: the game ends
  int fadeInFrames = 0;
  bool resumes = false;
  Transition interlude;
};
