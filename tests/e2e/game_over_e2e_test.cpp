// Losing in the real game: the hero walks off stage 2's first ledge again and again until its
// health is gone, the game-over screen fades in, and ESC quits.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "e2e/play_steps.h"
#include "e2e/real_game.h"

namespace {

// 10000 health at 200 a fall, a fall about every 0.8 s: some 40 s on a free machine.
constexpr double kFallingSeconds = 180.0;
constexpr double kGameOverFadeSeconds = 2.5;  // 90 frames, with room to spare
constexpr double kEndSeconds = 15.0;          // the 120-frame fade to black and the shutdown
// Mean difference per colour channel (0 to 255) below which the screen shows the picture.
constexpr double kSamePicture = 8.0;

TEST(GameOverE2E, FallingOutUntilHealthIsGoneShowsGameOverAndEscapeQuits) {
#ifdef TARNWICK_SANITIZE
  GTEST_SKIP() << "a minute of falling; the optimised build plays it";
#endif
  const ScreenPicture gameOver(std::string(TARNWICK_SOURCE_DIR) + "/assets/images/gameover.png");
  ASSERT_FALSE(gameOver.empty());
  RealGame game;
  ASSERT_TRUE(PlaySteps::startStage1(game)) << game.log();
  ASSERT_TRUE(PlaySteps::runIntoStage2(game)) << "stage 1 never ended:\n" << game.log();

  // Running left off the ledge's edge: each fall out of the level costs 200.
  game.pressKeyDown("a");
  game.pressButtonDown(PlaySteps::kRightButton);
  const bool lost = game.waitForLog("Going to GameOver...", kFallingSeconds);
  game.releaseKey("a");
  game.releaseButton(PlaySteps::kRightButton);
  ASSERT_TRUE(lost) << game.log();
  const std::string log = game.log();
  const size_t destroying = log.rfind("Destroying WorldContainer...\n");
  const size_t worldGone = log.rfind("~WorldContainer() done...\n");
  const size_t goingOver = log.rfind("Going to GameOver...\n");
  ASSERT_NE(std::string::npos, destroying);
  EXPECT_LT(destroying, worldGone);
  EXPECT_LT(worldGone, goingOver);

  std::this_thread::sleep_for(std::chrono::duration<double>(kGameOverFadeSeconds));
  const ScreenPicture shown = PlaySteps::look(game, "game-over");
  EXPECT_LT(shown.differenceFrom(gameOver, 0, 0), kSamePicture)
      << PlaySteps::screenshotPath("game-over");

  game.holdKey("Escape");
  EXPECT_EQ(0, game.waitForExit(kEndSeconds));
  const std::string ending =
      "Exiting...\nShutting down SDL_mixer...\nShutting down SDL_Image...\n"
      "Shutting down SDL...\nShutting down...\nWhat?\nTarnwick exiting code 0\n";
  const std::string finalLog = game.log();
  ASSERT_GE(finalLog.size(), ending.size());
  EXPECT_EQ(ending, finalLog.substr(finalLog.size() - ending.size()));
}

}  // namespace
