#pragma once

// What a weapon may do with the one who wields it: move the running attack on, and make the
// moves an attack is made of. The player implements it; a weapon knows nothing else of the
// player.

#include <cstdint>

// One blow: a box as tall as the wielder that starts just off its centre line and reaches `reach`
// further, towards the facing direction or, for a back strike, away from it.
struct Strike {
  float reach;       // m
  double damage;     // health taken from whoever is in the box
  double knockback;  // impulse scale
  bool behind;
};

// The running attack. It lives with the wielder, so that weapons keep no state of their own.
struct AttackState {
  int32_t phase = 0;         // 0: at rest
  int32_t phaseFrame = 0;    // frames spent in the phase
  bool comboQueued = false;  // the second blow was asked for
};

class Wielder {
 public:
  virtual AttackState& attack() = 0;
  // Moves the way the wielder faces at `speed` (m/s), keeping the vertical speed.
  virtual void pushForward(float speed) = 0;
  // Stops moving sideways, keeping the vertical speed.
  virtual void stop() = 0;
  // Pays `cost` in health (nothing at all when it is 0).
  virtual void pay(double cost) = 0;
  // Hits whoever stands in the blow's box.
  virtual void strike(const Strike& blow) = 0;
  // Plays the sound of a long blow, to be stopped when the attack ends or breaks off.
  virtual void playAttackSound(const char* name) = 0;
  // Fades that sound out over `fadeMs` (0: at once) and forgets it.
  virtual void stopAttackSound(int fadeMs) = 0;

 protected:
  ~Wielder() = default;
};
