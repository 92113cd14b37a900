// The Windows build's tarnwick.exe under wine, on a virtual display, driven as the Linux game
// is driven, and held to what the Linux game does. scripts/test_windows.sh runs these with
// TARNWICK_WINDOWS_GAME naming the program unpacked from the zip or installed by the installer.

#include <gtest/gtest.h>

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

// Starts `program` far from its assets, waits for the title, looks at it and quits with ESC.
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

// The log with the address it prints (the asset map's, as a number), which differs from run to
// run, left out.
std::string withoutPointers(const std::string& log) {
  return std::regex_replace(log, std::regex("Map created -?[0-9]+\\."), "Map created ….");
}

TEST(WindowsGameUnderWine, ShowsTheSameTitleAndWritesTheSameLogAsLinux) {
  const TitleThenEscape onLinux = titleThenEscape(TARNWICK_LINUX_BINARY, "linux-title");
  const TitleThenEscape onWindows = titleThenEscape(TARNWICK_BINARY, "windows-title");
  ASSERT_FALSE(onLinux.title.empty()) << onLinux.log;
  ASSERT_FALSE(onWindows.title.empty()) << "no title under wine; its log:\n" << onWindows.log;
  EXPECT_EQ(0, onWindows.status);
  EXPECT_EQ(withoutPointers(onLinux.log), withoutPointers(onWindows.log));
  ASSERT_EQ(onLinux.title.width(), onWindows.title.width());
  ASSERT_EQ(onLinux.title.height(), onWindows.title.height());
  const SDL_Rect whole{0, 0, onLinux.title.width(), onLinux.title.height()};
  EXPECT_LT(onWindows.title.differenceFrom(onLinux.title, whole), ScreenPicture::kSamePicture)
      << "screenshots: " << PlaySteps::screenshotPath("linux-title") << " and "
      << PlaySteps::screenshotPath("windows-title");
}

TEST(WindowsGameUnderWine, KeyboardPlayReachesStage2) {
  RealGame game("/", TARNWICK_BINARY);
  ASSERT_TRUE(PlaySteps::startStage1(game)) << game.log();
  ASSERT_TRUE(PlaySteps::runIntoStage2(game, PlaySteps::Controls::KeyboardOnly)) << game.log();
  game.closeWindow();
  EXPECT_EQ(0, game.waitForExit(PlaySteps::kEndSeconds)) << game.log();
}

}  // namespace
