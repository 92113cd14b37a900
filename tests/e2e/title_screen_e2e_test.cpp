// The real game binary on a virtual display, driven as a player would drive it.

#include <gtest/gtest.h>

#include "e2e/play_steps.h"
#include "e2e/real_game.h"

namespace {

TEST(TitleScreenE2E, EscapeQuitsWithTheWholeTranscript) {
  // Started far from its assets, the game finds them by itself and logs them as always.
  RealGame game("/");
  ASSERT_FALSE(game.windowId().empty()) << "no window titled Game appeared";
  ASSERT_TRUE(PlaySteps::waitForTitle(game)) << game.log();
  game.holdKey("Escape");
  EXPECT_EQ(0, game.waitForExit(PlaySteps::kEndSeconds));
  const std::string log = game.log();
  EXPECT_EQ(0u, log.find("Tarnwick starting...\nMap creating\nMap created ")) << log;
  EXPECT_NE(std::string::npos, log.find("Loading all assets...\nConfiguration loaded\n"
                                        "Loading asset enemy(assets/images/enemy.png)\n"));
  EXPECT_NE(std::string::npos,
            log.find("Loading asset water_particle(assets/images/water_particle.png)\n"
                     "Loading asset damage(assets/sound/damage.ogg)\n"));
  const std::string ending =
      std::string(
          "All assets loaded.\nSprite created!\nSprite destructed!\nDestroyed drawable!\n") +
      PlaySteps::kShutdownLines + "Tarnwick exiting code 0\n";
  EXPECT_EQ(ending, PlaySteps::lastChars(log, ending.size()));
  EXPECT_EQ(std::string::npos, log.find("error")) << "every asset loads";
}

TEST(TitleScreenE2E, ClosingTheWindowShutsDownCleanly) {
  RealGame game;
  ASSERT_TRUE(PlaySteps::waitForTitle(game)) << game.log();
  game.closeWindow();
  EXPECT_EQ(0, game.waitForExit(PlaySteps::kEndSeconds));
  const std::string ending = std::string("Caught Exit!\n") + PlaySteps::kShutdownLines;
  EXPECT_EQ(ending, PlaySteps::lastChars(game.log(), ending.size()));
}

}  // namespace
