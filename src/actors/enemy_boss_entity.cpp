#include "actors/enemy_boss_entity.h"

#include "arena/area_box.h"
#include "arena/arena.h"
#include "graphics/sprite.h"

namespace {

constexpr double kTouchDamage = 100.0;  // to the player touching the boss, and its ground strike
constexpr float kRadius = 3.5f;         // m
const b2Vec2 kDiscCentre(0.0f, 0.0f);   // the body origin is the disc's centre
constexpr float kFriction = 0.0f;
constexpr float kDensity = 20.0f;  // kg/m²
// The boss floats through the terrain and meets everything else.
constexpr uint16_t kPassesTerrainMask = kCollidesWithAll & ~kTerrainCategory;

// The pattern clock: one cycle counts from 1200 down to -200; the first starts at 799.
constexpr int32_t kCycleStart = 1200;
constexpr int32_t kCycleEnd = -200;
constexpr int32_t kCallTime = 400;

// Velocities held for stretches of the cycle (m/s); over a cycle the moves cancel, so the boss
// comes back to where it started.
struct PatternLeg {
  int32_t from;  // highest clock value of the stretch
  int32_t to;    // lowest
  float vx;
  float vy;
};
constexpr PatternLeg kLegs[] = {
    {1200, 1101, -2.0f, 0.0f}, {1100, 1001, 4.0f, 0.0f},  {1000, 901, -2.0f, 0.0f},
    {600, 401, 0.0f, 2.0f},    {-101, -200, 0.0f, -4.0f},
};

// The enemies it calls in, at fixed places of the level.
constexpr int kCalledEnemies = 6;
constexpr float kFirstCallX = 1.0f;   // m
constexpr float kCallSpacing = 2.0f;  // m
constexpr float kCallY = 10.0f;       // m

// The defeat fells every foe in the whole arena, the boss among them.
constexpr float kArenaSize = 100.0f;  // m
constexpr double kFellingDamage = 100000.0;

constexpr int kSpriteCentre = 300;  // pixels
constexpr double kSpriteScale = 0.75;
constexpr double kClockFramesPerTurn = 140.0;
constexpr double kTurn = 6.28;  // radians

}  // namespace

EnemyBossEntity::EnemyBossContainer::EnemyBossContainer(Arena* world, b2Body* body,
                                                        const b2FixtureDef* def)
    : FixtureContainer(world, body, def) {
  setUpSprite("enemy_boss", kSpriteCentre, kSpriteCentre, kSpriteScale);
}

void EnemyBossEntity::EnemyBossContainer::syncSprite() {
  const b2Vec2 at = fixture->GetBody()->GetPosition();
  placeSpriteAt(at.x, at.y);
  sprite->setAngle(owner->patternTimer / kClockFramesPerTurn * kTurn);
  sprite->setFlip(owner->spriteFlip());
}

EnemyBossEntity::EnemyBossEntity(Arena* world)
    : FoeEntity(world, KIND_BOSS, kFullHealth, {kTouchDamage, kTouchDamage}) {
  body->SetGravityScale(0.0f);
  const b2CircleShape disc = discShape(kRadius, kDiscCentre);
  const b2FixtureDef def = discFixture(disc, kFriction, kDensity, kPassesTerrainMask);
  container = std::make_unique<EnemyBossContainer>(world, body, &def);
  container->tag = TAG_BOSS;
  container->owner = this;
}

EnemyBossEntity::~EnemyBossEntity() {
  endSelf(container);
}

void EnemyBossEntity::update() {
  // The boss moves only by the velocity the pattern sets for the coming frame.
  body->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
  reportToOverlay();
  if (health <= 0) {
    fall();
    return;
  }
  followPattern();
}

void EnemyBossEntity::reportToOverlay() {
  BossStatus status{health > 0, health / static_cast<double>(kFullHealth)};
  world->notifyHud(status);
}

void EnemyBossEntity::fall() {
  burstIntoLiquid(kRadius, kDiscCentre);
  const b2AABB arena = areaBox(0.0f, 0.0f, kArenaSize, kArenaSize);
  world->fellFoesIn(arena, kFellingDamage);
  endSelf(container);
}

void EnemyBossEntity::followPattern() {
  if (--patternTimer < kCycleEnd) patternTimer = kCycleStart;
  if (patternTimer == kCallTime) {
    callEnemies();
    return;
  }
  for (const PatternLeg& leg : kLegs) {
    if (patternTimer <= leg.from && patternTimer >= leg.to) {
      body->SetLinearVelocity(b2Vec2(leg.vx, leg.vy));
      return;
    }
  }
}

void EnemyBossEntity::callEnemies() {
  for (int i = 0; i < kCalledEnemies; ++i) {
    world->spawnEnemy(kFirstCallX + i * kCallSpacing, kCallY);
  }
}
