#include "actors/phased_weapon.h"

#include <algorithm>

#include "actors/entity_events.h"
#include "actors/player_entity.h"
#include "arena/area_box.h"
#include "arena/arena.h"
#include "media/asset_registry.h"
#include "media/sound_playback.h"

namespace {

// A strike's box starts this far off the hero's centre line.
constexpr float kStrikeGap = 0.1f;  // m
constexpr int kAttackSoundFadeMs = 100;

void setForwardVelocity(PlayerEntity& player, float speed) {
  const float vy = player.body->GetLinearVelocity().y;
  player.body->SetLinearVelocity(b2Vec2(player.facingRight ? speed : -speed, vy));
}

void stop(PlayerEntity& player) {
  player.body->SetLinearVelocity(b2Vec2(0.0f, player.body->GetLinearVelocity().y));
}

void pay(PlayerEntity& player, double cost) {
  if (cost > 0.0) player.addHealth(-cost);
}

void strike(PlayerEntity& player, const Strike& blow) {
  const b2Vec2 feet = player.body->GetPosition();
  const bool towardsRight = player.facingRight != blow.behind;
  const float direction = towardsRight ? 1.0f : -1.0f;
  const float nearEdge = feet.x + PlayerEntity::kCentreLineOffset + kStrikeGap * direction;
  const float farEdge = nearEdge + blow.reach * direction;
  const b2AABB box = areaBox(std::min(nearEdge, farEdge), feet.y, std::max(nearEdge, farEdge),
                             feet.y + PlayerEntity::kHeight);
  HitMessage hit{0, &player, blow.damage, blow.knockback};
  player.world->sendToArea(box, hit);
}

void act(PlayerEntity& player, const AttackPhase& phase) {
  if (phase.motion == AttackPhase::Motion::kForward) setForwardVelocity(player, phase.forwardSpeed);
  if (phase.motion == AttackPhase::Motion::kStop) stop(player);
  pay(player, phase.costPerFrame);
  if (player.phaseFrame == 0 && phase.hasStrike) strike(player, phase.strike);
}

}  // namespace

void PhasedWeapon::step(PlayerEntity& player) {
  const AttackPhase* phase = currentPhase(player);
  if (phase == nullptr) return;
  act(player, *phase);
  if (++player.phaseFrame < phase->frames) return;
  player.phaseFrame = 0;
  leavePhase(player, *phase);
}

void PhasedWeapon::frameName(PlayerEntity& player, std::string& name) {
  const AttackPhase* phase = currentPhase(player);
  if (phase != nullptr) name = phase->picture;
}

const AttackPhase* PhasedWeapon::currentPhase(const PlayerEntity& player) const {
  const AttackSequence& attack = sequence();
  if (player.attackPhase < 1 || static_cast<std::size_t>(player.attackPhase) > attack.count) {
    return nullptr;
  }
  return &attack.phases[player.attackPhase - 1];
}

void PhasedWeapon::leavePhase(PlayerEntity& player, const AttackPhase& phase) const {
  switch (phase.ending) {
    case AttackPhase::Ending::kNextPhase:
      pay(player, phase.leavingCost);
      ++player.attackPhase;
      return;
    case AttackPhase::Ending::kSecondBlowIfQueued:
      if (player.comboQueued) {
        beginSecondBlow(player, phase);
      } else {
        player.attackPhase = 0;
      }
      return;
    case AttackPhase::Ending::kRest:
      player.attackPhase = 0;
      player.comboQueued = false;
      player.stopAttackSound(kAttackSoundFadeMs);
      return;
  }
}

void PhasedWeapon::beginSecondBlow(PlayerEntity& player, const AttackPhase& phase) const {
  ++player.attackPhase;
  pay(player, phase.leavingCost);
  const char* sound = sequence().secondBlowSound;
  if (sound == nullptr) return;
  player.attackSoundChannel =
      playSound(AssetRegistry::instance()->sound(sound), false, 0, -1, EFFECT_LEVEL);
}
