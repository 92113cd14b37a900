// The weapons in the real game: keys 2 and 3 take the light blade and the heavy maul, the
// overlay names the weapon in hand, and the left button (or E) swings it. Played on stage 2's
// first ledge, where no foe comes near and only the hero moves, after running through stage 1
// with the mouse's help, and again with the keyboard alone.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "e2e/play_steps.h"
#include "e2e/real_game.h"

namespace {

// Where the overlay shows the weapon plate, top-left corner, in window pixels.
constexpr int kPlateX = 265;
constexpr int kPlateY = 105;
// The hero on stage 2's first ledge (centre line 1 m, feet 1.23 m up): its sprite's box.
constexpr SDL_Rect kHeroArea{0, 329, 192, 256};
// Mean difference per colour channel above which the hero's picture has changed.
constexpr double kChangedPicture = 3.0;
// How long a loaded machine may take to show what a key or button does.
constexpr double kSeenSeconds = 30.0;
constexpr double kTapSeconds = 0.2;

// Presses the attack and lets it go, as a click.
void tapAttack(RealGame& game, PlaySteps::Controls controls) {
  PlaySteps::holdAttack(game, controls, true);
  std::this_thread::sleep_for(std::chrono::duration<double>(kTapSeconds));
  PlaySteps::holdAttack(game, controls, false);
}

class WeaponE2E : public testing::TestWithParam<PlaySteps::Controls> {};

TEST_P(WeaponE2E, KeysTwoAndThreeShowTheLightAndHeavyPlatesAndTheAttackSwings) {
  const PlaySteps::Controls controls = GetParam();
  const ScreenPicture lightPlate = PlaySteps::assetPicture("hud_wl");
  const ScreenPicture heavyPlate = PlaySteps::assetPicture("hud_wh");
  ASSERT_FALSE(lightPlate.empty());
  ASSERT_FALSE(heavyPlate.empty());
  RealGame game;
  ASSERT_TRUE(PlaySteps::startStage1(game)) << game.log();
  ASSERT_TRUE(PlaySteps::runIntoStage2(game, controls)) << "stage 1 never ended:\n" << game.log();
  const auto showsPlate = [](const ScreenPicture& plate) {
    return [&plate](const ScreenPicture& screen) {
      return screen.differenceFrom(plate, kPlateX, kPlateY) < ScreenPicture::kSamePicture;
    };
  };

  const ScreenPicture bareHands = PlaySteps::look(game, "bare-hands");
  EXPECT_GT(bareHands.differenceFrom(lightPlate, kPlateX, kPlateY), ScreenPicture::kSamePicture)
      << "bare hands show no plate: " << PlaySteps::screenshotPath("bare-hands");
  EXPECT_GT(bareHands.differenceFrom(heavyPlate, kPlateX, kPlateY), ScreenPicture::kSamePicture);

  const ScreenPicture light = PlaySteps::actUntilSeen(
      game, "light", [&] { game.holdKey("2"); }, showsPlate(lightPlate), kSeenSeconds);
  EXPECT_TRUE(showsPlate(lightPlate)(light)) << PlaySteps::screenshotPath("light");
  EXPECT_TRUE(game.logContains("Setting name..."));
  // A blow of the blade: the maul is taken once it is over.
  tapAttack(game, controls);

  const ScreenPicture standing = PlaySteps::actUntilSeen(
      game, "heavy", [&] { game.holdKey("3"); }, showsPlate(heavyPlate), kSeenSeconds);
  EXPECT_TRUE(showsPlate(heavyPlate)(standing)) << PlaySteps::screenshotPath("heavy");

  const ScreenPicture swinging = PlaySteps::actUntilSeen(
      game, "heavy-swing", [&] { tapAttack(game, controls); },
      [&](const ScreenPicture& screen) {
        return screen.differenceFrom(standing, kHeroArea) > kChangedPicture;
      },
      kSeenSeconds);
  EXPECT_GT(swinging.differenceFrom(standing, kHeroArea), kChangedPicture)
      << "the hero does not swing the maul: " << PlaySteps::screenshotPath("heavy-swing");
  EXPECT_TRUE(showsPlate(heavyPlate)(swinging)) << "the plate stays while swinging";
}

INSTANTIATE_TEST_SUITE_P(Hands, WeaponE2E,
                         testing::Values(PlaySteps::Controls::KeyboardAndMouse,
                                         PlaySteps::Controls::KeyboardOnly),
                         [](const testing::TestParamInfo<PlaySteps::Controls>& info) {
                           return info.param == PlaySteps::Controls::KeyboardOnly
                                      ? "KeyboardOnly"
                                      : "KeyboardAndMouse";
                         });

}  // namespace
