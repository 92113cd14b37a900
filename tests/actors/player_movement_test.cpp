#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actors/player_entity.h"
#include "actors/player_test_arena.h"
#include "graphics/sprite.h"
#include "media/asset_registry.h"
#include "support/frame_script.h"
#include "support/game_test.h"
#include "support/log_capture.h"
#include "world/world_container.h"

namespace {

using Lines = std::vector<std::string>;

constexpr int kLongEnoughToLand = 40;

using PlayerGroundState = PlayerArena;
using PlayerJump = PlayerArena;
using PlayerDodge = PlayerArena;
using PlayerWalk = PlayerArena;
using PlayerRun = PlayerArena;
using PlayerCamera = PlayerArena;

// The hero as the first stage brings it in: dropped at the start point above the floor.
class PlayerSpawn : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    const LogCapture quiet;
    world = new WorldContainer(1);
  }
  void TearDown() override {
    {
      const LogCapture quiet;
      delete world;
    }
    GameTest::TearDown();
  }
  std::string shownPicture() {
    world->render();
    for (const char* name : {"serval_cat_dodge", "serval_cat_stand", "serval_cat_jump"}) {
      if (AssetRegistry::instance()->bitmap(name) == world->player().sprite().bitmap()) {
        return name;
      }
    }
    return "(other)";
  }

  WorldContainer* world = nullptr;
  FrameScript script;
};

TEST_F(PlayerSpawn, FallsInTheDodgePictureUntilItFirstLands) {
  const LogCapture log;
  script.play(*world);
  EXPECT_EQ("serval_cat_dodge", shownPicture());
  script.play(*world, kLongEnoughToLand);
  EXPECT_EQ("serval_cat_stand", shownPicture());
  EXPECT_NEAR(1.766f, world->player().feetY(), 0.05f);
  EXPECT_EQ((Lines{"Flying!1", "Landed"}), movementLog(log.text()));
}

TEST_F(PlayerSpawn, SpaceHeldSinceTheTitleScreenDoesNotJump) {
  const LogCapture log;
  script.hold(SDL_SCANCODE_SPACE);
  script.play(*world, kLongEnoughToLand);
  EXPECT_FALSE(world->player().airborne());
  EXPECT_EQ((Lines{"Flying!1", "Landed"}), movementLog(log.text()));
}

TEST_F(PlayerGroundState, AFlightLogsFlyingOnceAndLandedOnce) {
  const LogCapture log;
  placeHero(kStartCentreX, 2.0f);
  play(kLongEnoughToLand);
  EXPECT_EQ((Lines{"Flying!0", "Landed"}), movementLog(log.text()));
  EXPECT_FALSE(player->airborne());
}

TEST_F(PlayerGroundState, AWallBelowTheFeetIsNotGround) {
  addBlock(areaBox(9.0f, 0.0f, 11.0f, 0.5f), TAG_NONE);
  const LogCapture log;
  placeHero(10.0f, 0.6f);
  EXPECT_EQ((Lines{"Flying!0"}), movementLog(log.text()));
  EXPECT_TRUE(player->airborne());
}

TEST_F(PlayerGroundState, AFoeBelowTheFeetIsGround) {
  addRecorder(areaBox(9.0f, 0.0f, 11.0f, 0.5f));
  placeHero(10.0f, 0.46f);
  EXPECT_FALSE(player->airborne());
}

TEST_F(PlayerJump, HoldingSpaceJumpsOnce) {
  const LogCapture log;
  script.hold(SDL_SCANCODE_SPACE);
  play();
  EXPECT_NEAR(5.0f, heroVelocity().y, 0.01f);
  EXPECT_EQ("serval_cat_jump", shownPicture());
  play(kLongEnoughToLand);
  EXPECT_EQ((Lines{"Flying!1", "Landed"}), movementLog(log.text()));
  EXPECT_EQ("serval_cat_stand", shownPicture());
}

TEST_F(PlayerJump, DoubleJumpOnlyOncePerFlight) {
  const LogCapture log;
  press(SDL_SCANCODE_SPACE);
  play(3);
  press(SDL_SCANCODE_SPACE);
  play();
  press(SDL_SCANCODE_SPACE);
  play(2 * kLongEnoughToLand);
  EXPECT_EQ(
      (Lines{"Flying!1", "Space Detected..", "Double Jumping!", "Space Detected..", "Landed"}),
      movementLog(log.text()));
}

TEST_F(PlayerJump, DoubleJumpSetsTheRiseToExactlyFive) {
  press(SDL_SCANCODE_SPACE);
  while (heroVelocity().y > -2.0f) play();
  script.hold(SDL_SCANCODE_SPACE);
  play();
  EXPECT_EQ(5.0f, heroVelocity().y);
}

TEST_F(PlayerJump, SpaceMustBeReleasedBeforeTheNextJump) {
  script.hold(SDL_SCANCODE_SPACE);
  play(kLongEnoughToLand);
  ASSERT_FALSE(player->airborne());
  play(5);
  EXPECT_FALSE(player->airborne()) << "still holding the first press";
  script.release(SDL_SCANCODE_SPACE);
  play();
  script.hold(SDL_SCANCODE_SPACE);
  play(2);
  EXPECT_TRUE(player->airborne());
}

TEST_F(PlayerDodge, LeapsBackwardsAndUpAwayFromTheFacingDirection) {
  const LogCapture log;
  script.hold(SDL_SCANCODE_Q);
  play();
  EXPECT_NEAR(-3.6f, heroVelocity().x, 1e-4f);
  EXPECT_NEAR(3.6f, heroVelocity().y, 0.01f);
  EXPECT_EQ("serval_cat_dodge", shownPicture());
  play(kLongEnoughToLand);
  EXPECT_EQ((Lines{"Flying!0", "Landed"}), movementLog(log.text()));
  EXPECT_FALSE(player->staggered());
  EXPECT_FLOAT_EQ(0.0f, heroVelocity().x) << "one dodge per press, however long Q is held";
}

TEST_F(PlayerDodge, FacingLeftDodgesToTheRight) {
  script.hold(SDL_SCANCODE_A);
  play();
  script.release(SDL_SCANCODE_A).hold(SDL_SCANCODE_Q);
  play();
  EXPECT_NEAR(3.6f, heroVelocity().x, 1e-4f);
}

TEST_F(PlayerDodge, WalkingSpeedAddsToTheDodge) {
  script.hold(SDL_SCANCODE_D).hold(SDL_SCANCODE_Q);
  play();
  EXPECT_NEAR(1.5f - 3.6f, heroVelocity().x, 1e-4f);
}

TEST_F(PlayerDodge, NoSteeringDuringTheDodgeFlight) {
  script.hold(SDL_SCANCODE_Q);
  play();
  script.release(SDL_SCANCODE_Q).hold(SDL_SCANCODE_D);
  play(3);
  ASSERT_TRUE(player->airborne());
  EXPECT_NEAR(-3.6f, heroVelocity().x, 1e-4f);
  play(kLongEnoughToLand);
  EXPECT_FLOAT_EQ(1.5f, heroVelocity().x) << "steering again once landed";
}

TEST_F(PlayerDodge, QPressedInTheAirDoesNothing) {
  script.hold(SDL_SCANCODE_SPACE);
  play(3);
  const b2Vec2 before = heroVelocity();
  script.hold(SDL_SCANCODE_Q);
  play();
  EXPECT_FLOAT_EQ(before.x, heroVelocity().x);
  EXPECT_FALSE(player->staggered());
}

TEST_F(PlayerDodge, ABlowThatLeavesTheHeroOnTheGroundEndsWithFixingDodge) {
  HitRecorder* foe = addRecorder(areaBox(1.0f, 0.0f, 1.5f, 1.0f));
  HitMessage weakBlow{foe, 1.0, 0.0};
  const LogCapture log;
  player->onEvent(weakBlow);
  ASSERT_TRUE(player->staggered());
  play();
  EXPECT_EQ((Lines{"Fixing dodge..."}), movementLog(log.text()));
  EXPECT_FALSE(player->staggered());
}

TEST_F(PlayerWalk, DWalksRight) {
  script.hold(SDL_SCANCODE_D);
  play();
  EXPECT_FLOAT_EQ(1.5f, heroVelocity().x);
  EXPECT_TRUE(player->facingRight());
  EXPECT_EQ(SDL_FLIP_NONE, player->sprite().flip());
  EXPECT_TRUE(player->walking());
}

TEST_F(PlayerWalk, AWalksLeftAndMirrorsTheHero) {
  script.hold(SDL_SCANCODE_A);
  play();
  EXPECT_FLOAT_EQ(-1.5f, heroVelocity().x);
  EXPECT_FALSE(player->facingRight());
  EXPECT_EQ(SDL_FLIP_HORIZONTAL, player->sprite().flip());
}

TEST_F(PlayerWalk, HoldingDAndATogetherWalksRight) {
  script.hold(SDL_SCANCODE_A).hold(SDL_SCANCODE_D);
  play();
  EXPECT_FLOAT_EQ(1.5f, heroVelocity().x);
}

TEST_F(PlayerWalk, LettingGoStopsOnTheGround) {
  script.hold(SDL_SCANCODE_D);
  play(10);
  const float walkedTo = heroCentreX();
  EXPECT_NEAR(kStartCentreX + 10 * 0.05f * 1.5f, walkedTo, 0.1f);
  script.release(SDL_SCANCODE_D);
  play(5);
  EXPECT_FLOAT_EQ(0.0f, heroVelocity().x);
  EXPECT_FALSE(player->walking());
}

TEST_F(PlayerWalk, StepsCycleTwentyFramesEachWithStandingBetween) {
  shownPicture();  // standing still restarts the cycle
  script.hold(SDL_SCANCODE_D);
  Lines shown;
  for (int frame = 0; frame < 81; ++frame) {
    play();
    shown.push_back(shownPicture());
  }
  const Lines quarters[] = {Lines(20, "serval_cat_step_1"), Lines(20, "serval_cat_stand"),
                            Lines(20, "serval_cat_step_2"), Lines(20, "serval_cat_stand")};
  for (int quarter = 0; quarter < 4; ++quarter) {
    EXPECT_EQ(quarters[quarter],
              Lines(shown.begin() + 20 * quarter, shown.begin() + 20 * (quarter + 1)));
  }
  EXPECT_EQ("serval_cat_step_1", shown.back()) << "the cycle starts over after 80 frames";
}

TEST_F(PlayerWalk, StoppingRestartsTheCycle) {
  shownPicture();
  script.hold(SDL_SCANCODE_D);
  for (int frame = 0; frame < 30; ++frame) {
    play();
    shownPicture();
  }
  script.release(SDL_SCANCODE_D);
  play();
  EXPECT_EQ("serval_cat_stand", shownPicture());
  script.hold(SDL_SCANCODE_D);
  play();
  EXPECT_EQ("serval_cat_step_1", shownPicture());
}

TEST_F(PlayerRun, RunningStridesCycleTenFramesEach) {
  shownPicture();
  script.hold(SDL_SCANCODE_D).holdButtons(SDL_BUTTON_RMASK);
  Lines shown;
  for (int frame = 0; frame < 40; ++frame) {
    play();
    shown.push_back(shownPicture());
  }
  EXPECT_EQ(Lines(10, "serval_cat_run_1"), Lines(shown.begin(), shown.begin() + 10));
  EXPECT_EQ(Lines(10, "serval_cat_stand"), Lines(shown.begin() + 10, shown.begin() + 20));
  EXPECT_EQ(Lines(10, "serval_cat_run_2"), Lines(shown.begin() + 20, shown.begin() + 30));
  EXPECT_EQ(Lines(10, "serval_cat_stand"), Lines(shown.begin() + 30, shown.end()));
}

TEST_F(PlayerRun, RunningWhileWalkingCostsOneHealthPerFrame) {
  script.hold(SDL_SCANCODE_D).holdButtons(SDL_BUTTON_RMASK);
  play(10);
  EXPECT_FLOAT_EQ(2.5f, heroVelocity().x);
  EXPECT_DOUBLE_EQ(10000.0 - 10, player->health());
}

TEST_F(PlayerRun, RunningOnTheSpotCostsNothing) {
  script.holdButtons(SDL_BUTTON_RMASK);
  play(10);
  EXPECT_DOUBLE_EQ(10000.0, player->health());
}

TEST_F(PlayerRun, RunningInTheAirCostsNothing) {
  script.hold(SDL_SCANCODE_SPACE);
  play();
  script.hold(SDL_SCANCODE_D).holdButtons(SDL_BUTTON_RMASK);
  play(5);
  ASSERT_TRUE(player->airborne());
  EXPECT_FLOAT_EQ(2.5f, heroVelocity().x);
  EXPECT_DOUBLE_EQ(10000.0, player->health());
}

TEST_F(PlayerRun, AnAttackStartedWhileRunningKeepsPayingForTheRun) {
  script.hold(SDL_SCANCODE_D).holdButtons(SDL_BUTTON_RMASK);
  play(5);
  click();
  play(19);
  ASSERT_EQ(0, player->attackPhase()) << "a bare-hand jab takes 20 frames";
  constexpr double kJabCost = 4.0;
  EXPECT_DOUBLE_EQ(10000.0 - 5 - 20 - kJabCost, player->health());
}

TEST_F(PlayerCamera, ViewStaysAtTheOriginNearTheStart) {
  play();
  EXPECT_EQ(0.0, world->cameraX());
  EXPECT_EQ(0.0, world->cameraY());
}

TEST_F(PlayerCamera, HeroStaysSixMetresFromTheLeftAndItsFeetOnePointEightAboveTheBottom) {
  addBlock(areaBox(15.0f, 0.0f, 25.0f, 5.0f), TAG_GROUND);
  placeHero(20.0f, 5.1f);
  EXPECT_FLOAT_EQ(heroCentreX() - 6.0f, static_cast<float>(world->cameraX()));
  EXPECT_FLOAT_EQ(heroFeetY() - 1.8f, static_cast<float>(world->cameraY()));
  EXPECT_NEAR(14.0, world->cameraX(), 1e-4);
  EXPECT_NEAR(3.2, world->cameraY(), 0.02);
}

}  // namespace
