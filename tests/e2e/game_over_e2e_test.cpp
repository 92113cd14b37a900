// Losing in the real game: the hero walks off stage 2's first ledge again and again until its
// health is gone, the game-over screen fades in, and ESC quits.

#include <gtest/gtest.h>

#include "e2e/play_steps.h"
#include "e2e/real_game.h"

namespace {

// 10000 health at 200 a fall, a fall about every 0.8 s: some 40 s on a free machine.
constexpr double kFallingSeconds = 180.0;
// The cross-fade into the game-over picture is 90 frames (1.5 s at 60 steps a second); a busy
// machine may take longer.
constexpr double kGameOverFadeSeconds = 20.0;
constexpr double kBetweenEscapesSeconds = 1.0;

TEST(GameOverE2E, FallingOutUntilHealthIsGoneShowsGameOverAndEscapeQuits) {
#ifdef TARNWICK_SANITIZE
  GTEST_SKIP() << "a minute of falling; the optimised build plays it";
#endif
  const ScreenPicture gameOver = PlaySteps::assetPicture("gameover");
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

  // The screen shows the game-over picture once the cross-fade into it is over.
  const auto showsGameOver = [&](const ScreenPicture& shown) {
    return shown.differenceFrom(gameOver, 0, 0) < ScreenPicture::kSamePicture;
  };
  const ScreenPicture shown = PlaySteps::actUntilSeen(
      game, "game-over", [] {}, showsGameOver, kGameOverFadeSeconds);
  EXPECT_TRUE(showsGameOver(shown)) << PlaySteps::screenshotPath("game-over");

  // The picture may show a few frames before the fade ends and the screen reads its keys:
  // ESC again until the game shuts down.
  for (double waited = 0.0; waited < PlaySteps::kEndSeconds && !game.logContains("Exiting...");
       waited += kBetweenEscapesSeconds) {
    game.holdKey("Escape");
    game.waitForLog("Exiting...", kBetweenEscapesSeconds);
  }
  EXPECT_EQ(0, game.waitForExit(PlaySteps::kEndSeconds));
  const std::string ending = std::string(PlaySteps::kShutdownLines) + "Tarnwick exiting code 0\n";
  EXPECT_EQ(ending, PlaySteps::lastChars(game.log(), ending.size()));
}

}  // namespace
