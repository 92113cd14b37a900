#pragma once

// Fighting with bare hands: a jab, and on a second click a lunging punch.

#include "actors/phased_weapon.h"

class WeaponBareHand : public PhasedWeapon {
 protected:
  const AttackSequence& sequence() const override;
};
