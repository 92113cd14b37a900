// Another build of the game, on a virtual display, driven as this build's game is driven and held
// to what this build's game does: the Windows build under wine (scripts/test_windows.sh), the
// Linux archive inside other Debian releases (scripts/test_linux.sh). TARNWICK_PORTED_GAME names
// the script that starts it (tests/windows/wine_game.sh, tests/linux/root_game.sh).

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>

#include "e2e/play_steps.h"
#include "e2e/real_game.h"

namespace {

struct TitleThenEscape {
  std::string log;
  int status = 0;
  ScreenPicture title{""};
};

// Starts `program` far from its assets, waits for the title to settle, looks at it and quits with
// ESC.
TitleThenEscape titleThenEscape(const std::string& program, const std::string& screenshot) {
  RealGame game("/", program);
  TitleThenEscape run;
  if (game.windowId().empty() || !PlaySteps::waitForTitle(game)) {
    run.log = game.log();
    return run;
  }
  run.title = PlaySteps::look(game, screenshot);
  game.holdKey("Escape");
  run.status = game.waitForExit(PlaySteps::kEndSeconds);
  run.log = game.log();
  return run;
}

std::string portedGame() {
  const char* launcher = std::getenv("TARNWICK_PORTED_GAME");
  return launcher != nullptr ? launcher : "";
}

// The log with the address it prints (the asset map's, as a number), which differs from run to
// run, left out.
std::string withoutPointers(const std::string& log) {
  return std::regex_replace(log, std::regex("Map created -?[0-9]+\\."), "Map created ….");
}

TEST(PortedGame, ShowsTheSameTitleAndWritesTheSameLogAsThisBuild) {
  ASSERT_FALSE(portedGame().empty()) << "TARNWICK_PORTED_GAME names no launcher";
  const TitleThenEscape here = titleThenEscape(TARNWICK_BINARY, "linux-title");
  const TitleThenEscape ported = titleThenEscape(portedGame(), "ported-title");
  ASSERT_FALSE(here.title.empty()) << here.log;
  ASSERT_FALSE(ported.title.empty()) << "no title from the other build; its log:\n" << ported.log;
  EXPECT_EQ(0, ported.status);
  EXPECT_EQ(withoutPointers(here.log), withoutPointers(ported.log));
  ASSERT_EQ(here.title.width(), ported.title.width());
  ASSERT_EQ(here.title.height(), ported.title.height());
  const SDL_Rect whole{0, 0, here.title.width(), here.title.height()};
  EXPECT_LT(ported.title.differenceFrom(here.title, whole), ScreenPicture::kSamePicture)
      << "screenshots: " << PlaySteps::screenshotPath("linux-title") << " and "
      << PlaySteps::screenshotPath("ported-title");
}

TEST(PortedGame, KeyboardPlayReachesStage2) {
  ASSERT_FALSE(portedGame().empty()) << "TARNWICK_PORTED_GAME names no launcher";
  RealGame game("/", portedGame());
  ASSERT_TRUE(PlaySteps::startStage1(game)) << game.log();
  ASSERT_TRUE(PlaySteps::runIntoStage2(game, PlaySteps::Controls::KeyboardOnly)) << game.log();
  game.closeWindow();
  EXPECT_EQ(0, game.waitForExit(PlaySteps::kEndSeconds)) << game.log();
}

}  // namespace
