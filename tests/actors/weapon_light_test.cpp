#include <gtest/gtest.h>

#include "actors/player_entity.h"
#include "actors/player_test_arena.h"

namespace {

using Frames = std::vector<int>;

class WeaponLightAttack : public PlayerArena {
 protected:
  void SetUp() override {
    PlayerArena::SetUp();
    press(SDL_SCANCODE_2);
  }
};

TEST_F(WeaponLightAttack, ACutTakesTenFramesAndCostsFive) {
  const AttackTrace cut = attack();
  EXPECT_EQ(10, cut.frames);
  EXPECT_DOUBLE_EQ(5.0, cut.cost);
}

TEST_F(WeaponLightAttack, ASecondClickAddsASecondCut) {
  const AttackTrace combo = attack({}, 3);
  EXPECT_EQ(16, combo.frames);
  EXPECT_DOUBLE_EQ(12.0, combo.cost);
}

TEST_F(WeaponLightAttack, ShowsEachPhase) {
  const AttackTrace combo = attack({}, 9);
  EXPECT_EQ(pictureRun({{3, "serval_cat_lightwep_1_1"},
                        {2, "serval_cat_lightwep_1_2"},
                        {2, "serval_cat_lightwep_1_3"},
                        {2, "serval_cat_lightwep_1_4"},
                        {2, "serval_cat_lightwep_2_1"},
                        {2, "serval_cat_lightwep_2_2"},
                        {2, "serval_cat_lightwep_2_3"},
                        {1, "serval_cat_stand"}}),
            combo.pictures);
}

TEST_F(WeaponLightAttack, BothCutsStrikeOnceEachInFront) {
  HitRecorder* inReach =
      addRecorder(areaBox(kStartCentreX + 0.4f, 0.2f, kStartCentreX + 0.5f, 1.0f));
  HitRecorder* outOfReach =
      addRecorder(areaBox(kStartCentreX + 1.0f, 0.2f, kStartCentreX + 1.2f, 1.0f));
  const AttackTrace combo = attack({inReach, outOfReach}, 3);
  EXPECT_EQ((Frames{5, 13}), combo.hitFrames[0]);
  EXPECT_EQ(Frames{}, combo.hitFrames[1]);
  ASSERT_EQ(2u, inReach->hits.size());
  EXPECT_DOUBLE_EQ(10.0, inReach->hits[0].damage);
  EXPECT_DOUBLE_EQ(0.6, inReach->hits[0].knockback);
  EXPECT_DOUBLE_EQ(15.0, inReach->hits[1].damage);
  EXPECT_DOUBLE_EQ(0.8, inReach->hits[1].knockback);
}

}  // namespace
