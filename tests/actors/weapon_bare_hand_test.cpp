#include <gtest/gtest.h>

#include "actors/player_entity.h"
#include "actors/player_test_arena.h"
#include "support/log_capture.h"

namespace {

using WeaponBareHandAttack = PlayerArena;

using Frames = std::vector<int>;

TEST_F(WeaponBareHandAttack, AJabTakesTwentyFramesAndCostsFour) {
  const AttackTrace jab = attack();
  EXPECT_EQ(20, jab.frames);
  EXPECT_DOUBLE_EQ(4.0, jab.cost);
  EXPECT_FALSE(player->comboQueued());
}

TEST_F(WeaponBareHandAttack, ASecondClickAddsAPunch) {
  const AttackTrace combo = attack({}, 5);
  EXPECT_EQ(32, combo.frames);
  EXPECT_DOUBLE_EQ(10.0, combo.cost);
  EXPECT_FALSE(player->comboQueued()) << "the punch uses up the second click";
}

TEST_F(WeaponBareHandAttack, ShowsEachPhase) {
  const AttackTrace combo = attack({}, 3);
  EXPECT_EQ(pictureRun({{7, "serval_cat_attk_1_1"},
                        {4, "serval_cat_attk_1_2"},
                        {4, "serval_cat_attk_1_3"},
                        {4, "serval_cat_attk_1_4"},
                        {4, "serval_cat_attk_2_1"},
                        {4, "serval_cat_attk_2_2"},
                        {4, "serval_cat_attk_2_3"},
                        {1, "serval_cat_stand"}}),
            combo.pictures);
}

TEST_F(WeaponBareHandAttack, JabAndPunchStrikeOnceEachJustInFront) {
  HitRecorder* inReach =
      addRecorder(areaBox(kStartCentreX + 0.4f, 0.2f, kStartCentreX + 0.6f, 1.0f));
  HitRecorder* outOfReach =
      addRecorder(areaBox(kStartCentreX + 1.6f, 0.2f, kStartCentreX + 1.8f, 1.0f));
  HitRecorder* behind =
      addRecorder(areaBox(kStartCentreX - 0.6f, 0.2f, kStartCentreX - 0.4f, 1.0f));
  const AttackTrace combo = attack({inReach, outOfReach, behind}, 5);
  EXPECT_EQ((Frames{9, 25}), combo.hitFrames[0]);
  EXPECT_EQ(Frames{}, combo.hitFrames[1]);
  EXPECT_EQ(Frames{}, combo.hitFrames[2]);
  ASSERT_EQ(2u, inReach->hits.size());
  EXPECT_EQ(player, inReach->hits[0].attacker);
  EXPECT_DOUBLE_EQ(5.0, inReach->hits[0].damage);
  EXPECT_DOUBLE_EQ(0.5, inReach->hits[0].knockback);
  EXPECT_DOUBLE_EQ(10.0, inReach->hits[1].damage);
  EXPECT_DOUBLE_EQ(0.6, inReach->hits[1].knockback);
}

TEST_F(WeaponBareHandAttack, FacingLeftStrikesToTheLeft) {
  press(SDL_SCANCODE_A);
  play();
  const float centre = heroCentreX();
  HitRecorder* left = addRecorder(areaBox(centre - 0.6f, 0.2f, centre - 0.4f, 1.0f));
  HitRecorder* right = addRecorder(areaBox(centre + 0.4f, 0.2f, centre + 0.6f, 1.0f));
  const AttackTrace jab = attack({left, right});
  EXPECT_EQ(Frames{9}, jab.hitFrames[0]);
  EXPECT_EQ(Frames{}, jab.hitFrames[1]);
}

TEST_F(WeaponBareHandAttack, LungesForwardAndSlidesUntilTheLastPhaseOfTheJab) {
  click();
  play(7);
  EXPECT_FLOAT_EQ(0.5f, heroVelocity().x);
  EXPECT_NEAR(kStartCentreX + 7 * 0.05f * 0.5f, heroCentreX(), 1e-3f);
  play(8);
  EXPECT_FLOAT_EQ(0.5f, heroVelocity().x) << "nothing holds the hero back while striking";
  play();
  EXPECT_EQ(4, player->attackPhase());
  EXPECT_EQ(0.0f, heroVelocity().x);
}

TEST_F(WeaponBareHandAttack, WalkingOffALedgeBreaksTheAttackOff) {
  addBlock(areaBox(9.0f, 0.0f, 10.0f, 1.0f), TAG_GROUND);
  placeHero(9.95f, 1.1f);
  ASSERT_FALSE(player->airborne());
  const LogCapture log;
  const AttackTrace jab = attack();
  EXPECT_LT(jab.frames, 8) << "broken off while lunging";
  EXPECT_EQ(0, player->phaseFrame());
  EXPECT_EQ((std::vector<std::string>{"Flying!0"}), movementLog(log.text()));
  EXPECT_DOUBLE_EQ(0.0, jab.cost) << "the jab is paid for only when the lunge is over";
}

}  // namespace
