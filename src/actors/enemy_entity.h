#pragma once

// The ordinary foe: a small disc that leaps about every one to two seconds, towards the player
// when it is near (striking upward as it goes) and in a random direction when it is far. It
// hurts the player by touch, is knocked back by the player's blows, and at 0 health bursts into
// a small blob of healing liquid. Falling out of the level removes it without a trace.

#include <box2d/box2d.h>

#include <cstdint>
#include <memory>

#include "actors/fixture_container.h"
#include "actors/foe_entity.h"

class Arena;

class EnemyEntity : public FoeEntity {
 public:
  // The record on the enemy's fixture: shows the enemy picture at its feet.
  class EnemyContainer : public FixtureContainer {
   public:
    EnemyContainer(Arena* world, b2Body* body, const b2FixtureDef* def);
    // Puts the picture on the centre line at the feet, mirrored as the owner faces.
    void syncSprite() override;

    EnemyEntity* owner = nullptr;
  };

  explicit EnemyEntity(Arena* world);
  ~EnemyEntity() override;

  // One frame: the fall out of the level, death, or the count down to the next leap.
  void update() override;

  int32_t actionTimer = 120;  // frames until the next leap
  std::unique_ptr<EnemyContainer> container;

 protected:
  // Knocked away from the player.
  void recoil(double knockback) override;

 private:
  void leap();
  // An impulse of (±0.8, 0.6) × scale: up and to the right or to the left.
  void push(bool right, double scale);
};
