// The real game binary on a virtual display, driven as a player would drive it.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "e2e/real_game.h"

namespace {

constexpr double kStartSeconds = 20.0;  // assets, 60 black frames and the title's fade-in
constexpr double kTitleFadeInSeconds = 2.0;
constexpr double kEndSeconds = 15.0;

TEST(TitleScreenE2E, EscapeQuitsWithTheWholeTranscript) {
  RealGame game;
  ASSERT_FALSE(game.windowId().empty()) << "no window titled Game appeared";
  ASSERT_TRUE(game.waitForLog("Sprite created!", kStartSeconds)) << game.log();
  std::this_thread::sleep_for(std::chrono::duration<double>(kTitleFadeInSeconds));
  game.holdKey("Escape");
  EXPECT_EQ(0, game.waitForExit(kEndSeconds));
  const std::string log = game.log();
  EXPECT_EQ(0u, log.find("Tarnwick starting...\nMap creating\nMap created ")) << log;
  EXPECT_NE(std::string::npos, log.find("Loading all assets...\nConfiguration loaded\n"
                                        "Loading asset enemy(assets/images/enemy.png)\n"));
  EXPECT_NE(std::string::npos,
            log.find("Loading asset water_particle(assets/images/water_particle.png)\n"
                     "Loading asset damage(assets/sound/damage.ogg)\n"));
  const std::string ending =
      "All assets loaded.\nSprite created!\nSprite destructed!\nDestroyed drawable!\n"
      "Exiting...\nShutting down SDL_mixer...\nShutting down SDL_Image...\n"
      "Shutting down SDL...\nShutting down...\nWhat?\nTarnwick exiting code 0\n";
  ASSERT_GE(log.size(), ending.size());
  EXPECT_EQ(ending, log.substr(log.size() - ending.size()));
  EXPECT_EQ(std::string::npos, log.find("error")) << "every asset loads";
}

TEST(TitleScreenE2E, ClosingTheWindowShutsDownCleanly) {
  RealGame game;
  ASSERT_TRUE(game.waitForLog("Sprite created!", kStartSeconds)) << game.log();
  game.closeWindow();
  EXPECT_EQ(0, game.waitForExit(kEndSeconds));
  const std::string ending =
      "Caught Exit!\nExiting...\nShutting down SDL_mixer...\nShutting down SDL_Image...\n"
      "Shutting down SDL...\nShutting down...\nWhat?\n";
  const std::string log = game.log();
  ASSERT_GE(log.size(), ending.size()) << log;
  EXPECT_EQ(ending, log.substr(log.size() - ending.size()));
}

}  // namespace
