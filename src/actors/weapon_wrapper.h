#pragma once

// What the hero fights with. A weapon keeps no state of its own: the running attack lives with
// its wielder, and the weapon only moves it on by one frame and names the picture of its phase.

#include <string>

class Wielder;
struct AttackState;

class WeaponWrapper {
 public:
  virtual ~WeaponWrapper() = default;

  // Carries the wielder's attack on by one frame: moves, pays, strikes, changes phase.
  virtual void step(Wielder& wielder) = 0;
  // Overwrites `name` with the picture of the attack's phase, if this weapon has one.
  virtual void frameName(const AttackState& attack, std::string& name) = 0;
};
