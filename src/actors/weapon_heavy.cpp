#include "actors/weapon_heavy.h"

#include <iterator>

namespace {

constexpr float kReach = 1.3f;  // m
constexpr Strike kSweep{kReach, 20.0, 0.4, false};
constexpr Strike kSpinFront{kReach, 15.0, 0.8, false};
constexpr Strike kSpinBack{kReach, 15.0, 0.8, true};
constexpr double kWindUpCostPerFrame = 3.0;
constexpr double kSpinCostPerFrame = 2.0;
constexpr double kNoExtraCost = 0.0;

constexpr AttackPhase spin(const char* picture) {
  return AttackPhase(4, picture).costsEachFrame(kSpinCostPerFrame);
}

constexpr AttackPhase kPhases[] = {
    AttackPhase(8, "serval_cat_heavywep_1_1").costsEachFrame(kWindUpCostPerFrame),
    AttackPhase(4, "serval_cat_heavywep_1_2"),
    AttackPhase(16, "serval_cat_heavywep_1_3")
        .stops()
        .strikes(kSweep)
        .secondBlowIfQueued(kNoExtraCost),
    spin("serval_cat_heavywep_2_1").strikes(kSpinFront),
    spin("serval_cat_heavywep_2_2").strikes(kSpinFront),
    spin("serval_cat_heavywep_2_3"),
    spin("serval_cat_heavywep_2_4").strikes(kSpinBack),
    spin("serval_cat_heavywep_2_5").strikes(kSpinBack),
    spin("serval_cat_heavywep_2_6").strikes(kSpinBack),
    spin("serval_cat_heavywep_2_7"),
    spin("serval_cat_heavywep_2_8").strikes(kSpinFront),
    AttackPhase(16, "serval_cat_heavywep_2_1").stops().endsAttack(),
};

constexpr AttackSequence kAttack{kPhases, std::size(kPhases), "serval_cat_atk_long"};

}  // namespace

const AttackSequence& WeaponHeavy::sequence() const {
  return kAttack;
}
