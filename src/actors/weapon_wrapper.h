#pragma once

// What the hero fights with. A weapon keeps no state of its own: the running attack lives in the
// player (attackPhase, phaseFrame, comboQueued, attackSoundChannel), and the weapon only moves it
// on by one frame and names the picture of its phase.

#include <string>

class PlayerEntity;

class WeaponWrapper {
 public:
  virtual ~WeaponWrapper() = default;

  // Carries the player's attack on by one frame: moves, pays, strikes, changes phase.
  virtual void step(PlayerEntity& player) = 0;
  // Overwrites `name` with the picture of the player's attack phase, if this weapon has one.
  virtual void frameName(PlayerEntity& player, std::string& name) = 0;
};
