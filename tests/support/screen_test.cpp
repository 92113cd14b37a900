#include "support/screen_test.h"

#include "app/app_context.h"
#include "app/screen_frames.h"
#include "scenes/scene_title.h"
#include "support/main_loop_seam.h"

namespace {

constexpr int kTitleFadeInFrames = 20;

}  // namespace

void ScreenTest::SetUp() {
  GameTest::SetUp();
  captureScreen();
  showScreen(std::make_unique<SceneTitle>());
  crossFade(kTitleFadeInFrames);
}

void ScreenTest::TearDown() {
  showScreen(nullptr);
  GameTest::TearDown();
}
