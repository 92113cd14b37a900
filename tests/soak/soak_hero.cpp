#include "soak/soak_hero.h"

#include <cmath>

#include "actors/enemy_boss_entity.h"
#include "actors/enemy_entity.h"
#include "actors/player_entity.h"
#include "support/frame_script.h"
#include "world/world_container.h"

namespace {

constexpr int kSwingEveryFrames = 8;  // one click, then buttons up until the next
constexpr int kJumpEveryFrames = 20;
constexpr float kJumpWhenHigherBy = 0.5f;   // m
constexpr float kBlowReach = 0.6f;          // m beyond the disc's edge: the light weapon's cut
constexpr float kEnemyCentreOffset = 1.0f;  // m: an enemy's disc lies right of its origin
constexpr float kEnemyRadius = 0.3f;        // m
constexpr float kBossRadius = 3.5f;         // m
constexpr float kOutOfTheLevel = -5.0f;     // m: foes below this are falling, not worth chasing

}  // namespace

void SoakHero::steer(const WorldContainer& world) {
  ++frame_;
  script_.releaseAll();
  if (weaponKey_ != SDL_SCANCODE_UNKNOWN) {
    script_.hold(weaponKey_);
    weaponKey_ = SDL_SCANCODE_UNKNOWN;
    return;
  }
  Target target{};
  if (nearestFoe(world, target)) approach(world, target);
}

bool SoakHero::nearestFoe(const WorldContainer& world, Target& target) const {
  const PlayerEntity& hero = world.player();
  bool found = false;
  float nearest = 0.0f;
  for (const Entity* entity : world.liveEntities()) {
    const auto* foe = dynamic_cast<const FoeEntity*>(entity);
    if (foe == nullptr || foe->body->GetPosition().y < kOutOfTheLevel) continue;
    const bool boss = foe->kind == KIND_BOSS;
    const b2Vec2 at = foe->body->GetPosition();
    const Target candidate{(boss ? at.x : at.x + kEnemyCentreOffset) - hero.centreX(),
                           (boss ? at.y - kBossRadius : at.y) - hero.feetY(),
                           (boss ? kBossRadius : kEnemyRadius) + kBlowReach};
    const float distance = std::hypot(candidate.dx, candidate.dy);
    // Enemies first: the boss is only chased when none is left.
    const float rank = boss ? distance + 1000.0f : distance;
    if (found && rank >= nearest) continue;
    found = true;
    nearest = rank;
    target = candidate;
  }
  return found;
}

void SoakHero::approach(const WorldContainer& world, const Target& target) {
  const bool foeOnRight = target.dx > 0.0f;
  const bool inReach = std::fabs(target.dx) <= target.reach;
  // Walking turns the hero, so a foe in reach behind it is faced first.
  if (!inReach || world.player().facingRight() != foeOnRight) {
    script_.hold(foeOnRight ? SDL_SCANCODE_D : SDL_SCANCODE_A);
  } else if (frame_ % kSwingEveryFrames == 0) {
    script_.holdButtons(SDL_BUTTON_LMASK);
  }
  if (target.dy > kJumpWhenHigherBy && frame_ % kJumpEveryFrames == 0) {
    script_.hold(SDL_SCANCODE_SPACE);
  }
}
