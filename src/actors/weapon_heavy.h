#pragma once

// Fighting with the heavy weapon: a slow sweep, and on a second click a spin that strikes front,
// front, back, back, back and front again.

#include "actors/phased_weapon.h"

class WeaponHeavy : public PhasedWeapon {
 protected:
  const AttackSequence& sequence() const override;
};
