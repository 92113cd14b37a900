#pragma once

// The last foe: a large, heavy, weightless disc that drifts through a fixed pattern on a
// 1401-frame clock, turning its picture with that clock, and calls in six enemies once a cycle.
// It hurts the player by touch and reports its health to the overlay every frame. At 0 health it
// bursts into a great pool of liquid, fells every enemy in the level and ends itself; the stage
// keeps reading its health after that.

#include <box2d/box2d.h>

#include <cstdint>
#include <memory>

#include "actors/fixture_container.h"
#include "actors/foe_entity.h"

class Arena;

class EnemyBossEntity : public FoeEntity {
 public:
  // The record on the boss's fixture: shows the boss picture on its centre, turning.
  class EnemyBossContainer : public FixtureContainer {
   public:
    EnemyBossContainer(Arena* world, b2Body* body, const b2FixtureDef* def);
    // Puts the picture on the disc's centre, turned with the owner's pattern clock.
    void syncSprite() override;

    EnemyBossEntity* owner = nullptr;
  };

  static constexpr int32_t kFullHealth = 1500;

  explicit EnemyBossEntity(Arena* world);
  ~EnemyBossEntity() override;

  // One frame: report to the overlay, then either fall or follow the pattern.
  void update() override;

  int32_t patternTimer = 800;  // frames, counted down; the pattern runs from 1200 to -200
  std::unique_ptr<EnemyBossContainer> container;

 protected:
  // The boss is too heavy to be knocked back.
  void recoil(double) override {}

 private:
  void reportToOverlay();
  void fall();
  void followPattern();
  void callEnemies();
};
