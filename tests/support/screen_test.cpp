#include "support/screen_test.h"

#include "app/app_context.h"
#include "app/transition.h"
#include "scenes/scene_title.h"
#include "support/frame_script.h"
#include "support/main_loop_seam.h"

namespace {

constexpr int kTitleFadeInFrames = 20;

}  // namespace

void ScreenTest::SetUp() {
  GameTest::SetUp();
  playOut(Transition().capture());
  showScreen(std::make_unique<SceneTitle>());
  playOut(Transition().fade(kTitleFadeInFrames));
}

void ScreenTest::TearDown() {
  showScreen(nullptr);
  GameTest::TearDown();
}
