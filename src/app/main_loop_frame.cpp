#include "app/main_loop_frame.h"

#include "app/app_context.h"
#include "app/screen_frames.h"
#include "scenes/scene.h"

namespace {

void carryOut(const SceneChange& change);

// Makes the next screen current. After a fade to black it is built on the black and runs its
// first frame before fading in: that frame presents nothing (the display is frozen) but draws
// the screen's first picture, or may already leave again. Otherwise the display still holds the
// old screen's last picture, which fades straight into the new one.
void bringIn(const SceneChange& change) {
  const bool fromBlack = change.fadeOutFrames > 0;
  if (fromBlack) captureScreen();
  currentScene = change.next();
  if (fromBlack) carryOut(currentScene->run());
  crossFade(change.fadeInFrames);
}

void carryOut(const SceneChange& change) {
  if (!change.leaves) return;
  if (change.fadeOutFrames > 0) crossFade(change.fadeOutFrames);
  // The screen is deleted here, outside it: it must not destroy itself while its run() is on
  // the stack.
  currentScene.reset();
  if (change.next) bringIn(change);
}

}  // namespace

void runMainLoopFrame() {
  carryOut(currentScene->run());
}
