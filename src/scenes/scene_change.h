#pragma once

#include <functional>
#include <memory>

class Scene;

// What a screen asks of the main loop when its frame ends: stay, or leave. A screen that leaves
// has already frozen the display and hidden or silenced what it owns; the main loop carries out
// the rest (the fades, deleting the screen, making the next one), since a screen must not
// destroy itself while its own run() is on the stack.
struct SceneChange {
  // Makes the next screen; called once the leaving screen is gone.
  using Builder = std::function<std::unique_ptr<Scene>()>;

  // The screen stays current.
  static SceneChange stay() { return {}; }
  // Fades to black over `fadeOutFrames`; then there is no screen, and the game ends.
  static SceneChange quit(int fadeOutFrames) { return {true, fadeOutFrames, nullptr, 0}; }
  // Fades to black over `fadeOutFrames`; then the next screen is built on the black, runs its
  // first frame and fades in over `fadeInFrames`.
  static SceneChange throughBlack(int fadeOutFrames, Builder next, int fadeInFrames) {
    return {true, fadeOutFrames, std::move(next), fadeInFrames};
  }
  // The next screen is built at once, and the frozen picture fades into it over `fadeInFrames`.
  static SceneChange fadeInto(Builder next, int fadeInFrames) {
    return {true, 0, std::move(next), fadeInFrames};
  }

  bool leaves = false;
  int fadeOutFrames = 0;  // 0: no fade to black
  Builder next;           // empty: the game ends
  int fadeInFrames = 0;
};
