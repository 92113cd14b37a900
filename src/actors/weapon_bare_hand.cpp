#include "actors/weapon_bare_hand.h"

#include <iterator>

namespace {

constexpr float kJabLunge = 0.5f;    // m/s
constexpr float kPunchLunge = 1.0f;  // m/s
constexpr Strike kJab{0.4f, 5.0, 0.5, false};
constexpr Strike kPunch{0.4f, 10.0, 0.6, false};
constexpr double kJabCost = 4.0;
constexpr double kPunchCost = 6.0;

constexpr AttackPhase kPhases[] = {
    AttackPhase(8, "serval_cat_attk_1_1").pushesForward(kJabLunge).costsOnLeaving(kJabCost),
    AttackPhase(4, "serval_cat_attk_1_2").strikes(kJab),
    AttackPhase(4, "serval_cat_attk_1_3"),
    AttackPhase(4, "serval_cat_attk_1_4").stops().secondBlowIfQueued(kPunchCost),
    AttackPhase(4, "serval_cat_attk_2_1").pushesForward(kPunchLunge),
    AttackPhase(4, "serval_cat_attk_2_2").strikes(kPunch),
    AttackPhase(4, "serval_cat_attk_2_3").stops().endsAttack(),
};

constexpr AttackSequence kAttack{kPhases, std::size(kPhases), nullptr};

}  // namespace

const AttackSequence& WeaponBareHand::sequence() const {
  return kAttack;
}
