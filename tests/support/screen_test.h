#pragma once

// The screens as the main loop runs them: each test starts on the title, made current the way
// the main loop makes it, and plays frames through the current screen with a FrameScript.

#include "support/frame_script.h"
#include "support/game_test.h"

class ScreenTest : public GameTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  FrameScript script;
};
