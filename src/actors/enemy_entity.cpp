#include "actors/enemy_entity.h"

#include <cstdlib>

#include "actors/level_bounds.h"
#include "actors/player_entity.h"
#include "arena/arena.h"
#include "graphics/sprite.h"

namespace {

constexpr int32_t kStartHealth = 30;
constexpr double kTouchDamage = 50.0;        // to the player touching the enemy
constexpr double kGroundStrikeDamage = 5.0;  // upward strike on bumping into ground
constexpr double kLeapStrikeDamage = 50.0;   // upward strike when leaping at a near player

constexpr float kRadius = 0.3f;        // m
const b2Vec2 kDiscCentre(1.0f, 0.3f);  // body coordinates: the origin's y is the disc's bottom
constexpr float kFriction = 1.0f;
constexpr float kDensity = 1.0f;  // kg/m²

constexpr int kLeapDelayMin = 60;             // frames
constexpr int kLeapDelayRange = 61;           // frames: delays of 60 to 120
constexpr double kNearDistanceSquared = 5.0;  // m²: the player is near within √5 m
constexpr int kStrengthSteps = 10;            // leap strengths 1.0 to 1.9 in steps of 0.1
constexpr double kMinStrength = 1.0;
constexpr double kImpulseX = 0.8;  // N·s per unit of strength
constexpr double kImpulseY = 0.6;  // N·s per unit of strength

constexpr int kSpriteCentreX = 64;  // pixels
constexpr int kSpriteCentreY = 128;
constexpr double kSpriteScale = 0.75;

}  // namespace

EnemyEntity::EnemyContainer::EnemyContainer(Arena* world, b2Body* body, const b2FixtureDef* def)
    : FixtureContainer(world, body, def) {
  setUpSprite("enemy", kSpriteCentreX, kSpriteCentreY, kSpriteScale);
}

void EnemyEntity::EnemyContainer::syncSprite() {
  const b2Vec2 at = fixture->GetBody()->GetPosition();
  placeSpriteAt(at.x + kDiscCentre.x, at.y);
  sprite->setFlip(owner->spriteFlip());
}

EnemyEntity::EnemyEntity(Arena* world)
    : FoeEntity(world, KIND_ENEMY, kStartHealth, {kTouchDamage, kGroundStrikeDamage}) {
  const b2CircleShape disc = discShape(kRadius, kDiscCentre);
  const b2FixtureDef def = discFixture(disc, kFriction, kDensity, kCollidesWithAll);
  container = std::make_unique<EnemyContainer>(world, body, &def);
  container->tag = TAG_ENEMY;
  container->owner = this;
}

EnemyEntity::~EnemyEntity() {
  endSelf(container);
}

void EnemyEntity::update() {
  if (body->GetPosition().y < kFallLimitY) {
    endSelf(container);
    return;
  }
  if (health <= 0) {
    burstIntoLiquid(kRadius, kDiscCentre);
    endSelf(container);
    return;
  }
  if (--actionTimer > 0) return;
  leap();
}

void EnemyEntity::recoil(double knockback) {
  const bool playerOnLeft = body->GetPosition().x > world->player().body()->GetPosition().x;
  push(playerOnLeft, knockback);
}

void EnemyEntity::leap() {
  // The order of the rand() calls is part of the game: delay, direction (only when far),
  // strength.
  actionTimer = rand() % kLeapDelayRange + kLeapDelayMin;
  const b2Vec2 at = body->GetPosition();
  const b2Vec2 player = world->player().body()->GetPosition();
  bool right = !(at.x > player.x);
  const double dx = static_cast<double>(player.x) - at.x;
  const double dy = static_cast<double>(player.y) - at.y;
  if (dx * dx + dy * dy > kNearDistanceSquared) {
    right = rand() % 2 == 1;
  } else {
    strikeUpward(kLeapStrikeDamage);
  }
  const double strength =
      (rand() % kStrengthSteps) / static_cast<double>(kStrengthSteps) + kMinStrength;
  push(right, strength);
}

void EnemyEntity::push(bool right, double scale) {
  const double x = (right ? kImpulseX : -kImpulseX) * scale;
  const b2Vec2 impulse(static_cast<float>(x), static_cast<float>(kImpulseY * scale));
  body->ApplyLinearImpulse(impulse, b2Vec2(0.0f, 0.0f), true);
}
