#include <gtest/gtest.h>

#include "actors/player_entity.h"
#include "actors/player_test_arena.h"

namespace {

class PlayerWeaponChoice : public PlayerArena {
 protected:
  // The picture of the first frames of an attack tells which weapon is in hand.
  static std::string weaponShownBy(const AttackTrace& attack) { return attack.pictures.front(); }
};

TEST_F(PlayerWeaponChoice, BareHandsAtFirst) {
  EXPECT_EQ("serval_cat_attk_1_1", weaponShownBy(attack()));
}

TEST_F(PlayerWeaponChoice, KeysOneTwoThreeTakeBareHandsLightAndHeavy) {
  press(SDL_SCANCODE_2);
  EXPECT_EQ("serval_cat_lightwep_1_1", weaponShownBy(attack()));
  press(SDL_SCANCODE_3);
  EXPECT_EQ("serval_cat_heavywep_1_1", weaponShownBy(attack()));
  press(SDL_SCANCODE_1);
  EXPECT_EQ("serval_cat_attk_1_1", weaponShownBy(attack()));
}

TEST_F(PlayerWeaponChoice, TheLowestKeyWinsWhenSeveralAreHeld) {
  script.hold(SDL_SCANCODE_3).hold(SDL_SCANCODE_2);
  play();
  script.release(SDL_SCANCODE_3).release(SDL_SCANCODE_2);
  EXPECT_EQ("serval_cat_lightwep_1_1", weaponShownBy(attack()));
}

TEST_F(PlayerWeaponChoice, AKeyHeldThroughAnAttackTakesItsWeaponAfterwards) {
  script.hold(SDL_SCANCODE_2);
  const AttackTrace jab = attack();
  EXPECT_EQ("serval_cat_attk_1_1", weaponShownBy(jab));
  play();
  script.release(SDL_SCANCODE_2);
  EXPECT_EQ("serval_cat_lightwep_1_1", weaponShownBy(attack()));
}

TEST_F(PlayerWeaponChoice, AClickInTheAirStartsNothing) {
  script.hold(SDL_SCANCODE_SPACE);
  play(3);
  click();
  EXPECT_EQ(0, player->attackPhase());
  EXPECT_DOUBLE_EQ(10000.0, player->health());
}

}  // namespace
