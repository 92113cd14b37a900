#include "e2e/play_steps.h"

#include <gtest/gtest.h>

#include <chrono>

#include "e2e/real_game.h"

namespace PlaySteps {
namespace {

constexpr double kStartSeconds = 20.0;  // assets and 60 black frames
// How long the title's fade-in may take on a loaded machine, and how little two looks at the
// faded-in title differ (it holds still; each frame of the fade brightens it by several levels).
constexpr double kTitleSettleSeconds = 20.0;
constexpr double kStill = 1.0;
constexpr double kWorldBuiltSeconds = 30.0;
constexpr double kBetweenPressesSeconds = 3.0;  // past the title's 90-frame fade-out
// A new stage's 20-frame fade-in and the hero's drop onto its ground, on a loaded machine.
constexpr double kLandingSeconds = 30.0;
constexpr double kStage1RunSeconds = 90.0;  // about 10 s on a free machine
constexpr double kHopSeconds = 0.15;
constexpr double kBetweenHopsSeconds = 0.3;

bool sameSize(const ScreenPicture& one, const ScreenPicture& other) {
  return one.width() == other.width() && one.height() == other.height();
}

// Of one size, and differing by less than `within` (see ScreenPicture::differenceFrom).
bool alike(const ScreenPicture& one, const ScreenPicture& other, double within) {
  return sameSize(one, other) &&
         one.differenceFrom(other, SDL_Rect{0, 0, one.width(), one.height()}) < within;
}

}  // namespace

void holdRun(RealGame& game, Controls controls, bool held) {
  if (controls == Controls::KeyboardOnly) {
    held ? game.pressKeyDown("Shift_L") : game.releaseKey("Shift_L");
  } else {
    held ? game.pressButtonDown(kRightButton) : game.releaseButton(kRightButton);
  }
}

void holdAttack(RealGame& game, Controls controls, bool held) {
  if (controls == Controls::KeyboardOnly) {
    held ? game.pressKeyDown("e") : game.releaseKey("e");
  } else {
    held ? game.pressButtonDown(kLeftButton) : game.releaseButton(kLeftButton);
  }
}

bool waitForTitle(RealGame& game) {
  if (!game.waitForLog("Sprite created!", kStartSeconds)) return false;
  return !lookAtSettledTitle(game, "title").empty();
}

ScreenPicture lookAtSettledTitle(RealGame& game, const std::string& name) {
  // A game held up mid-fade (a busy machine, a GL driver compiling its shaders on first use)
  // shows one picture twice as well: where the window shows the title at its own size, the
  // picture that holds still must also be the title's own.
  static const ScreenPicture title = assetPicture("title");
  ScreenPicture previous{""};
  bool settled = false;
  ScreenPicture last = actUntilSeen(
      game, name, [] {},
      [&previous, &settled](const ScreenPicture& picture) {
        const bool titleSized = sameSize(picture, title);
        settled = !picture.empty() && alike(picture, previous, kStill) &&
                  (!titleSized || alike(picture, title, ScreenPicture::kSamePicture));
        previous = picture;
        return settled;
      },
      kTitleSettleSeconds);
  return settled ? last : ScreenPicture{""};
}

bool startStage1(RealGame& game) {
  if (!waitForTitle(game)) return false;
  // The title reads SPACE only once it has faded in, which a busy machine may not have done
  // yet: press until the world is being built.
  const std::string worldBuilt = "Hud created!";
  for (double waited = 0.0; waited < kWorldBuiltSeconds && !game.logContains(worldBuilt);
       waited += kBetweenPressesSeconds) {
    game.holdKey("space");
    game.waitForLog(worldBuilt, kBetweenPressesSeconds);
  }
  return game.logContains(worldBuilt) && waitForLanding(game, worldBuilt);
}

bool runIntoStage2(RealGame& game, Controls controls) {
  const std::string teardownDone = "~WorldContainer() done...";
  game.pressKeyDown("d");
  holdRun(game, controls, true);
  for (double ran = 0.0; ran < kStage1RunSeconds && !game.logContains(teardownDone);
       ran += kHopSeconds + kBetweenHopsSeconds) {
    game.holdKey("space", kHopSeconds);
    game.waitForLog(teardownDone, kBetweenHopsSeconds);
  }
  game.releaseKey("d");
  holdRun(game, controls, false);
  if (!game.logContains(teardownDone)) return false;
  return waitForLanding(game, teardownDone);
}

bool waitForLanding(RealGame& game, const std::string& worldBuilt) {
  return game.waitForLogAfter(worldBuilt, "Landed", kLandingSeconds);
}

ScreenPicture actUntilSeen(RealGame& game, const std::string& name,
                           const std::function<void()>& act,
                           const std::function<bool(const ScreenPicture&)>& seen, double seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (true) {
    act();
    ScreenPicture picture = look(game, name);
    if (seen(picture) || std::chrono::steady_clock::now() >= deadline) return picture;
  }
}

std::string screenshotPath(const std::string& name) {
  return testing::TempDir() + "tarnwick-" + name + ".png";
}

ScreenPicture assetPicture(const std::string& name) {
  return ScreenPicture(std::string(TARNWICK_SOURCE_DIR) + "/assets/images/" + name + ".png");
}

std::string lastChars(const std::string& log, size_t count) {
  return log.size() <= count ? log : log.substr(log.size() - count);
}

ScreenPicture look(RealGame& game, const std::string& name) {
  const std::string path = screenshotPath(name);
  game.screenshot(path);
  return ScreenPicture(path);
}

}  // namespace PlaySteps
