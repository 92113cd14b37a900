#include "actors/weapon_light.h"

#include <iterator>

namespace {

constexpr Strike kCut{0.5f, 10.0, 0.6, false};
constexpr Strike kSecondCut{0.6f, 15.0, 0.8, false};
constexpr double kCutCost = 5.0;
constexpr double kSecondCutCost = 7.0;

constexpr AttackPhase kPhases[] = {
    AttackPhase(4, "serval_cat_lightwep_1_1").costsOnLeaving(kCutCost),
    AttackPhase(2, "serval_cat_lightwep_1_2").strikes(kCut),
    AttackPhase(2, "serval_cat_lightwep_1_3"),
    AttackPhase(2, "serval_cat_lightwep_1_4").stops().secondBlowIfQueued(kSecondCutCost),
    AttackPhase(2, "serval_cat_lightwep_2_1"),
    AttackPhase(2, "serval_cat_lightwep_2_2").strikes(kSecondCut),
    AttackPhase(2, "serval_cat_lightwep_2_3").stops().endsAttack(),
};

constexpr AttackSequence kAttack{kPhases, std::size(kPhases), nullptr};

}  // namespace

const AttackSequence& WeaponLight::sequence() const {
  return kAttack;
}
