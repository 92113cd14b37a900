#include "actors/phased_weapon.h"

namespace {

constexpr int kAttackSoundFadeMs = 100;

void act(Wielder& wielder, const AttackPhase& phase) {
  if (phase.motion == AttackPhase::Motion::kForward) wielder.pushForward(phase.forwardSpeed);
  if (phase.motion == AttackPhase::Motion::kStop) wielder.stop();
  wielder.pay(phase.costPerFrame);
  if (wielder.attack().phaseFrame == 0 && phase.hasStrike) wielder.strike(phase.strike);
}

}  // namespace

void PhasedWeapon::step(Wielder& wielder) {
  const AttackPhase* phase = currentPhase(wielder.attack());
  if (phase == nullptr) return;
  act(wielder, *phase);
  AttackState& attack = wielder.attack();
  if (++attack.phaseFrame < phase->frames) return;
  attack.phaseFrame = 0;
  leavePhase(wielder, *phase);
}

void PhasedWeapon::frameName(const AttackState& attack, std::string& name) {
  const AttackPhase* phase = currentPhase(attack);
  if (phase != nullptr) name = phase->picture;
}

const AttackPhase* PhasedWeapon::currentPhase(const AttackState& attack) const {
  const AttackSequence& sequenceOfPhases = sequence();
  if (attack.phase < 1 || static_cast<std::size_t>(attack.phase) > sequenceOfPhases.count) {
    return nullptr;
  }
  return &sequenceOfPhases.phases[attack.phase - 1];
}

void PhasedWeapon::leavePhase(Wielder& wielder, const AttackPhase& phase) const {
  AttackState& attack = wielder.attack();
  switch (phase.ending) {
    case AttackPhase::Ending::kNextPhase:
      wielder.pay(phase.leavingCost);
      ++attack.phase;
      return;
    case AttackPhase::Ending::kSecondBlowIfQueued:
      if (attack.comboQueued) {
        beginSecondBlow(wielder, phase);
      } else {
        attack.phase = 0;
      }
      return;
    case AttackPhase::Ending::kRest:
      attack.phase = 0;
      attack.comboQueued = false;
      wielder.stopAttackSound(kAttackSoundFadeMs);
      return;
  }
}

void PhasedWeapon::beginSecondBlow(Wielder& wielder, const AttackPhase& phase) const {
  ++wielder.attack().phase;
  wielder.pay(phase.leavingCost);
  const char* sound = sequence().secondBlowSound;
  if (sound != nullptr) wielder.playAttackSound(sound);
}
