#include <gtest/gtest.h>

#include "actors/player_entity.h"
#include "actors/player_test_arena.h"

namespace {

using Frames = std::vector<int>;

class WeaponHeavyAttack : public PlayerArena {
 protected:
  void SetUp() override {
    PlayerArena::SetUp();
    press(SDL_SCANCODE_3);
  }
};

TEST_F(WeaponHeavyAttack, ASweepTakesTwentyEightFramesAndCostsTwentyFour) {
  const AttackTrace sweep = attack();
  EXPECT_EQ(28, sweep.frames);
  EXPECT_DOUBLE_EQ(24.0, sweep.cost);
  EXPECT_EQ(-1, player->attackSoundChannel());
}

TEST_F(WeaponHeavyAttack, TheWindUpIsPaidFrameByFrame) {
  click();
  play(3);
  EXPECT_DOUBLE_EQ(10000.0 - 4 * 3.0, player->health());
}

TEST_F(WeaponHeavyAttack, ASecondClickAddsASpin) {
  const AttackTrace spin = attack({}, 20);
  EXPECT_EQ(76, spin.frames);
  EXPECT_DOUBLE_EQ(88.0, spin.cost);
  EXPECT_FALSE(player->comboQueued());
}

TEST_F(WeaponHeavyAttack, ShowsEachPhase) {
  const AttackTrace spin = attack({}, 3);
  EXPECT_EQ(pictureRun({{7, "serval_cat_heavywep_1_1"},
                        {4, "serval_cat_heavywep_1_2"},
                        {16, "serval_cat_heavywep_1_3"},
                        {4, "serval_cat_heavywep_2_1"},
                        {4, "serval_cat_heavywep_2_2"},
                        {4, "serval_cat_heavywep_2_3"},
                        {4, "serval_cat_heavywep_2_4"},
                        {4, "serval_cat_heavywep_2_5"},
                        {4, "serval_cat_heavywep_2_6"},
                        {4, "serval_cat_heavywep_2_7"},
                        {4, "serval_cat_heavywep_2_8"},
                        {16, "serval_cat_heavywep_2_1"},
                        {1, "serval_cat_stand"}}),
            spin.pictures);
}

TEST_F(WeaponHeavyAttack, TheSpinStrikesFrontFrontBackBackBackFront) {
  HitRecorder* front = addRecorder(areaBox(kStartCentreX + 0.6f, 0.2f, kStartCentreX + 1.0f, 1.0f));
  HitRecorder* back = addRecorder(areaBox(kStartCentreX - 1.0f, 0.2f, kStartCentreX - 0.6f, 1.0f));
  HitRecorder* farAway =
      addRecorder(areaBox(kStartCentreX + 1.8f, 0.2f, kStartCentreX + 2.0f, 1.0f));
  const AttackTrace spin = attack({front, back, farAway}, 3);
  EXPECT_EQ((Frames{13, 29, 33, 57}), spin.hitFrames[0]);
  EXPECT_EQ((Frames{41, 45, 49}), spin.hitFrames[1]);
  EXPECT_EQ(Frames{}, spin.hitFrames[2]);
  ASSERT_EQ(4u, front->hits.size());
  EXPECT_DOUBLE_EQ(20.0, front->hits[0].damage);
  EXPECT_DOUBLE_EQ(0.4, front->hits[0].knockback);
  EXPECT_DOUBLE_EQ(15.0, front->hits[1].damage);
  EXPECT_DOUBLE_EQ(0.8, front->hits[1].knockback);
  EXPECT_DOUBLE_EQ(15.0, back->hits[0].damage);
}

TEST_F(WeaponHeavyAttack, TheSpinPlaysItsSoundUntilItEnds) {
  click();
  play(2);
  click();
  play(24);
  EXPECT_EQ(4, player->attackPhase());
  EXPECT_GE(player->attackSoundChannel(), 0);
  play(48);
  EXPECT_EQ(0, player->attackPhase());
  EXPECT_EQ(-1, player->attackSoundChannel());
}

TEST_F(WeaponHeavyAttack, LosingTheGroundMidSpinStopsItAndItsSound) {
  FixtureContainer* platform = addBlock(areaBox(9.0f, 0.0f, 11.0f, 1.0f), TAG_GROUND);
  placeHero(10.0f, 1.1f);
  click();
  play(2);
  click();
  play(30);
  ASSERT_EQ(5, player->attackPhase());
  ASSERT_GE(player->attackSoundChannel(), 0);
  removeBlock(platform);
  play();
  EXPECT_EQ(0, player->attackPhase());
  EXPECT_EQ(0, player->phaseFrame());
  EXPECT_EQ(-1, player->attackSoundChannel());
  EXPECT_TRUE(player->comboQueued()) << "a queued blow survives the fall";
}

TEST_F(WeaponHeavyAttack, NoOtherWeaponCanBeTakenMidAttack) {
  click();
  script.hold(SDL_SCANCODE_1);
  play(5);
  EXPECT_EQ("serval_cat_heavywep_1_1", shownPicture());
}

}  // namespace
