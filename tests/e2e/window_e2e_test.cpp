// The real game's window on a 1920 × 1080 virtual display with a window manager: resized, it
// shows the whole title scaled to fill it; F11 and Alt+Enter switch it to full screen, where
// the picture keeps its shape between black bars at the sides, and back.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "e2e/play_steps.h"
#include "e2e/real_game.h"
#include "e2e/screen_picture.h"

namespace {

// A resize or a switch of full screen shows within a few frames; a loaded machine may take long.
constexpr double kChangeSeconds = 20.0;
constexpr double kLookEverySeconds = 0.1;
constexpr double kBlackBar = 2.0;  // brightness, 0 to 255

// A size of the window and where the 800 × 600 picture lies in it.
struct Framing {
  const char* name;
  int width;
  int height;
  SDL_Rect picture;
};

constexpr Framing kOpened{"opened", 800, 600, {0, 0, 800, 600}};
constexpr Framing kResized{"resized", 1200, 900, {0, 0, 1200, 900}};
// 1080 rows high, 4:3: 1440 wide, with the 240 columns left over on either side.
constexpr Framing kFullScreen{"full-screen", 1920, 1080, {240, 0, 1440, 1080}};

bool showsTitle(const ScreenPicture& shot, const Framing& framing) {
  return shot.width() == framing.width && shot.height() == framing.height &&
         shot.differenceFromStretched(PlaySteps::assetPicture("title"), framing.picture) <
             ScreenPicture::kSamePicture;
}

// Looks at the window until it shows the title as `framing` has it; the last look.
ScreenPicture lookUntilFramed(RealGame& game, const Framing& framing) {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::duration<double>(kChangeSeconds);
  ScreenPicture shot = PlaySteps::look(game, framing.name);
  while (!showsTitle(shot, framing) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::duration<double>(kLookEverySeconds));
    shot = PlaySteps::look(game, framing.name);
  }
  return shot;
}

void expectFramed(RealGame& game, const Framing& framing) {
  SCOPED_TRACE(framing.name);
  const ScreenPicture shot = lookUntilFramed(game, framing);
  ASSERT_EQ(framing.width, shot.width()) << PlaySteps::screenshotPath(framing.name);
  ASSERT_EQ(framing.height, shot.height());
  EXPECT_LT(shot.differenceFromStretched(PlaySteps::assetPicture("title"), framing.picture),
            ScreenPicture::kSamePicture)
      << "the whole title, scaled: " << PlaySteps::screenshotPath(framing.name);
  const SDL_Rect leftBar{0, 0, framing.picture.x, framing.height};
  const SDL_Rect rightBar{framing.picture.x + framing.picture.w, 0, framing.picture.x,
                          framing.height};
  if (leftBar.w > 0) {
    EXPECT_LT(shot.brightness(leftBar), kBlackBar);
    EXPECT_LT(shot.brightness(rightBar), kBlackBar);
  }
}

TEST(WindowE2E, TitleFillsAResizedWindowAndFullScreenWithBarsAtTheSides) {
  RealGame game(TARNWICK_SOURCE_DIR, TARNWICK_BINARY, VirtualScreen{"1920x1080x24", true});
  ASSERT_TRUE(PlaySteps::waitForTitle(game)) << game.log();
  EXPECT_EQ(0u, game.windowProperty("_NET_WM_ICON").find("_NET_WM_ICON = 256, 256, "))
      << "the window carries the game's 256 × 256 icon";
  expectFramed(game, kOpened);
  game.resizeWindow(kResized.width, kResized.height);
  expectFramed(game, kResized);
  game.holdKey("F11");
  expectFramed(game, kFullScreen);
  game.holdKey("F11");
  expectFramed(game, kResized);
  game.holdKey("alt+Return");
  expectFramed(game, kFullScreen);
  game.holdKey("alt+Return");
  expectFramed(game, kResized);

  game.holdKey("Escape");
  EXPECT_EQ(0, game.waitForExit(PlaySteps::kEndSeconds));
  const std::string ending = std::string("Sprite destructed!\nDestroyed drawable!\n") +
                             PlaySteps::kShutdownLines + "Tarnwick exiting code 0\n";
  EXPECT_EQ(ending, PlaySteps::lastChars(game.log(), ending.size()))
      << "resizing and full screen add nothing to the log";
}

}  // namespace
