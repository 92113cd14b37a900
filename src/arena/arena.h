#pragma once

// The world as the actors see it: what an actor may ask of the world it lives in. The world
// implements it; the actors know nothing else of the world, so they can be built and tested
// against any arena.
//
// Units are metres at 64 pixels each; world y points up, screen y down.

#include <box2d/box2d.h>

#include <cstdint>

#include "graphics/point.h"

class Entity;
class FixtureCounter;
class ParticleSystem;
class PlayerEntity;
struct BossStatus;
struct HealthReport;
struct HitMessage;
struct WeaponReport;

constexpr double PIXELS_PER_METRE = 64.0;

class Arena {
 public:
  // The physics world the actors' bodies live in.
  virtual b2World* getWorld() = 0;
  // The liquid that fallen foes leave behind and the player drinks.
  virtual ParticleSystem& liquid() = 0;
  // The player: the one whose blows alone hurt foes, and whom they leap at.
  virtual PlayerEntity& player() = 0;
  // Where the player starts again after falling out of the level.
  virtual b2Vec2 respawnPoint() const = 0;

  // Fixtures (with their bodies) and liquid particles in `box`, reported to `counter`.
  virtual void queryArea(FixtureCounter& counter, const b2AABB& box) = 0;
  // Hands `hit` once to every entity with a fixture overlapping `box`.
  virtual void sendToArea(const b2AABB& box, const HitMessage& hit) = 0;
  // Brings down every entity with a fixture overlapping `box` once (Entity::beFelled), in the
  // order sendToArea hands out hits.
  virtual void fellFoesIn(const b2AABB& box, double damage) = 0;
  // Hands a report of the player's health, its weapon or the boss to the overlay.
  virtual void notifyHud(const HealthReport& report) = 0;
  virtual void notifyHud(const WeaponReport& report) = 0;
  virtual void notifyHud(const BossStatus& report) = 0;
  // A new enemy with its body at (x, y), owned by the world.
  virtual void spawnEnemy(float x, float y) = 0;

  // Puts the bottom-left corner of the view on the world point (x, y).
  virtual void moveCamera(double x, double y) = 0;
  // The screen pixel of the world point (x, y), as the camera sees it.
  virtual Point worldToScreen(float x, float y) const = 0;

  // Entities join and leave the live set themselves, ordered by the serial they take first.
  virtual uint64_t takeEntitySerial() = 0;
  virtual void registerEntity(Entity* entity) = 0;
  virtual void unregisterEntity(Entity* entity) = 0;

 protected:
  ~Arena() = default;
};
