#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "actors/player_entity.h"
#include "actors/player_test_arena.h"
#include "support/log_capture.h"

namespace {

using PlayerHit = PlayerArena;

// A foe standing just left (or right) of the hero.
b2AABB besideHero(float centreX, bool left) {
  return left ? areaBox(centreX - 1.5f, 0.0f, centreX - 1.2f, 1.0f)
              : areaBox(centreX + 1.2f, 0.0f, centreX + 1.5f, 1.0f);
}

TEST_F(PlayerHit, LogsTheMessageAddressTwiceAndTheBlow) {
  HitRecorder* foe = addRecorder(besideHero(kStartCentreX, true));
  HitMessage blow{foe, 5.0, 0.5};
  const LogCapture capture;
  player->onEvent(blow);
  const std::string log = capture.text();
  char address[32];
  const unsigned int truncated = static_cast<unsigned int>(reinterpret_cast<uintptr_t>(&blow));
  std::snprintf(address, sizeof address, "%x %x\n", truncated, truncated);
  EXPECT_EQ(std::string(address) + "Player hurt! 5.000000 0.500000\n", log);
  EXPECT_DOUBLE_EQ(9995.0, player->health());
}

TEST_F(PlayerHit, ItsOwnBlowsAreIgnored) {
  HitMessage ownBlow{player, 5.0, 0.5};
  const LogCapture log;
  player->onEvent(ownBlow);
  EXPECT_EQ("", log.text());
  EXPECT_DOUBLE_EQ(10000.0, player->health());
}

TEST_F(PlayerHit, AFoeOnTheLeftKnocksTheHeroRightAndUpAndTurnsItLeft) {
  HitRecorder* foe = addRecorder(besideHero(kStartCentreX, true));
  constexpr double kKnockback = 0.6;
  HitMessage blow{foe, 10.0, kKnockback};
  player->onEvent(blow);
  const float mass = player->body()->GetMass();
  EXPECT_NEAR(0.8 * kKnockback / mass, heroVelocity().x, 1e-4);
  EXPECT_NEAR(0.6 * kKnockback / mass, heroVelocity().y, 1e-4);
  EXPECT_FALSE(player->facingRight());
  EXPECT_TRUE(player->staggered());
  EXPECT_EQ("serval_cat_dodge", shownPicture());
}

TEST_F(PlayerHit, ABossOnTheRightKnocksTheHeroLeftAndTurnsItRight) {
  press(SDL_SCANCODE_A);
  play();
  ASSERT_FALSE(player->facingRight());
  HitRecorder* boss = addRecorder(besideHero(kStartCentreX, false), KIND_BOSS);
  HitMessage blow{boss, 10.0, 1.0};
  player->onEvent(blow);
  EXPECT_LT(heroVelocity().x, 0.0f);
  EXPECT_TRUE(player->facingRight());
}

TEST_F(PlayerHit, AKnockBackFlightCannotBeSteeredAndEndsOnLanding) {
  HitRecorder* foe = addRecorder(besideHero(kStartCentreX, true));
  HitMessage blow{foe, 10.0, 1.0};
  player->onEvent(blow);
  const float flightSpeed = heroVelocity().x;
  script.hold(SDL_SCANCODE_A);
  play(2);
  ASSERT_TRUE(player->airborne());
  EXPECT_FLOAT_EQ(flightSpeed, heroVelocity().x);
  play(40);
  EXPECT_FALSE(player->staggered());
  EXPECT_FLOAT_EQ(-1.5f, heroVelocity().x);
}

TEST_F(PlayerHit, AnAttackingHeroIsTurnedAndStoppedButNotKnockedBack) {
  HitRecorder* foe = addRecorder(besideHero(kStartCentreX, true));
  click();
  ASSERT_NE(0, player->attackPhase());
  HitMessage blow{foe, 10.0, 1.0};
  player->onEvent(blow);
  EXPECT_FALSE(player->facingRight());
  EXPECT_EQ(0.0f, heroVelocity().x);
  EXPECT_EQ(0.0f, heroVelocity().y);
  EXPECT_FALSE(player->staggered());
  play();
  EXPECT_NE(0, player->attackPhase()) << "the attack goes on";
  EXPECT_FALSE(player->airborne());
}

TEST_F(PlayerHit, ABlowFromSomethingElseOnlyCostsHealth) {
  constexpr EntityKind kNotAFoe = KIND_OVERLAY;
  HitRecorder* stranger = addRecorder(besideHero(kStartCentreX, true), kNotAFoe);
  HitMessage blow{stranger, 7.0, 1.0};
  player->onEvent(blow);
  EXPECT_DOUBLE_EQ(9993.0, player->health());
  EXPECT_TRUE(player->facingRight());
  EXPECT_FALSE(player->staggered());
  EXPECT_EQ(0.0f, heroVelocity().x);
}

}  // namespace
