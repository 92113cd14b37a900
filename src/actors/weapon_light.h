#pragma once

// Fighting with the light weapon: a quick cut, and on a second click a longer second cut.

#include "actors/phased_weapon.h"

class WeaponLight : public PhasedWeapon {
 protected:
  const AttackSequence& sequence() const override;
};
