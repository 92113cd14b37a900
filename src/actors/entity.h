#pragma once

// Everything that lives in the world: the player, the enemies, the boss and the overlay. The
// world updates every live entity once per frame, after the physics step, and delivers hits,
// contacts and overlay notices through onEvent.

#include <cstdint>

#include "actors/entity_events.h"

class WorldContainer;
class b2Body;
struct b2BodyDef;

class Entity {
 public:
  // Joins the world's set of live entities.
  explicit Entity(WorldContainer* world);
  // Leaves that set (if it has not already left it by ending itself).
  virtual ~Entity();
  Entity(const Entity&) = delete;
  Entity& operator=(const Entity&) = delete;

  // One frame of the entity's own behaviour.
  virtual void update() = 0;
  // Receives one event; kinds the entity does not handle are ignored. The result is unused.
  virtual int onEvent(int32_t kind, void* data) = 0;

  // Creation order within the world, which fixes the order of the per-frame updates.
  uint64_t serial() const { return serial_; }

  // The entity a body belongs to (null for a body without one, such as the ground).
  static Entity* of(const b2Body* body);

  WorldContainer* world;
  int32_t kind = -1;

 protected:
  // Takes the entity out of the world's live set; used by actors that end themselves.
  void leaveWorld();
  // Bodies made from `def` belong to this entity: contacts and area events reach it.
  void ownBodiesOf(b2BodyDef& def);

 private:
  uint64_t serial_;
  bool inWorld_ = true;
};
