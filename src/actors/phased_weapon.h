#pragma once

// A weapon whose attack is a table of phases, each lasting a number of frames. Every frame of a
// phase may push the hero forward or stop it and may cost health; the first frame may strike a
// box in front of (or behind) the hero; the end of a phase leads to the next one, to the second
// blow when the player asked for it, or back to rest. The three weapons differ only in their
// tables.

#include <cstddef>
#include <cstdint>
#include <string>

#include "actors/weapon_wrapper.h"
#include "actors/wielder.h"

struct AttackPhase {
  enum class Motion { kKeep, kForward, kStop };
  enum class Ending { kNextPhase, kSecondBlowIfQueued, kRest };

 private:
  // A copy of this phase with one field changed. Defined before the builders below that use it
  // in constant expressions: clang evaluates them where they stand.
  template <typename Field>
  constexpr AttackPhase with(Field AttackPhase::*field, Field value) const {
    AttackPhase phase = *this;
    phase.*field = value;
    return phase;
  }

 public:
  // A phase of `frames` frames showing `picture`, that moves on to the next phase.
  constexpr AttackPhase(int32_t frames, const char* picture) : frames(frames), picture(picture) {}

  constexpr AttackPhase pushesForward(float speed) const {
    return with(&AttackPhase::motion, Motion::kForward).with(&AttackPhase::forwardSpeed, speed);
  }
  constexpr AttackPhase stops() const { return with(&AttackPhase::motion, Motion::kStop); }
  constexpr AttackPhase costsEachFrame(double cost) const {
    return with(&AttackPhase::costPerFrame, cost);
  }
  constexpr AttackPhase strikes(Strike blow) const {
    return with(&AttackPhase::hasStrike, true).with(&AttackPhase::strike, blow);
  }
  // At its end the phase leads on at the price of `cost`.
  constexpr AttackPhase costsOnLeaving(double cost) const {
    return with(&AttackPhase::leavingCost, cost);
  }
  // At its end the phase leads to the second blow (at the price of `cost`) only when the player
  // asked for it, and otherwise back to rest.
  constexpr AttackPhase secondBlowIfQueued(double cost) const {
    return with(&AttackPhase::ending, Ending::kSecondBlowIfQueued)
        .with(&AttackPhase::leavingCost, cost);
  }
  // The last phase: the attack ends with it.
  constexpr AttackPhase endsAttack() const { return with(&AttackPhase::ending, Ending::kRest); }

  int32_t frames;
  const char* picture;
  Motion motion = Motion::kKeep;
  float forwardSpeed = 0.0f;  // m/s
  double costPerFrame = 0.0;
  bool hasStrike = false;
  Strike strike{};
  Ending ending = Ending::kNextPhase;
  double leavingCost = 0.0;
};

// A weapon's whole attack: phase 1 is phases[0].
struct AttackSequence {
  const AttackPhase* phases;
  std::size_t count;
  const char* secondBlowSound;  // played as the second blow begins; null for none
};

class PhasedWeapon : public WeaponWrapper {
 public:
  void step(Wielder& wielder) override;
  void frameName(const AttackState& attack, std::string& name) override;

 protected:
  // This weapon's table.
  virtual const AttackSequence& sequence() const = 0;

 private:
  const AttackPhase* currentPhase(const AttackState& attack) const;
  void leavePhase(Wielder& wielder, const AttackPhase& phase) const;
  void beginSecondBlow(Wielder& wielder, const AttackPhase& phase) const;
};
