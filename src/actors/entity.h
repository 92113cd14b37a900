#pragma once

// Everything that lives in the world: the player, the enemies, the boss and the overlay. The
// world updates every live entity once per frame, after the physics step, and delivers hits and
// contacts through onEvent, one overload per message.

#include <cstdint>

#include "actors/entity_events.h"

class Arena;
class b2Body;
struct b2BodyDef;

class Entity {
 public:
  // Joins the world's set of live entities as an entity of `kind`.
  Entity(Arena* world, EntityKind kind);
  // Leaves that set (if it has not already left it by ending itself).
  virtual ~Entity();
  Entity(const Entity&) = delete;
  Entity& operator=(const Entity&) = delete;

  // One frame of the entity's own behaviour.
  virtual void update() = 0;
  // A blow struck by `hit.attacker`. Ignored unless the entity takes hits.
  virtual void onEvent(const HitMessage& hit);
  // One of the entity's fixtures began touching another. Ignored unless the entity answers
  // touches.
  virtual void onEvent(const ContactBegan& touch);
  // One of the entity's fixtures stopped touching another. No entity of the game answers it.
  virtual void onEvent(const ContactEnded& touch);
  // Brought down with the fallen boss, losing `damage` health at once, whoever struck last.
  // Ignored unless the entity is a foe.
  virtual void beFelled(double damage);

  // Creation order within the world, which fixes the order of the per-frame updates.
  uint64_t serial() const { return serial_; }

  // The entity a body belongs to (null for a body without one, such as the ground).
  static Entity* of(const b2Body* body);

  Arena* world;
  const EntityKind kind;

 protected:
  // Takes the entity out of the world's live set; used by actors that end themselves.
  void leaveWorld();
  // Bodies made from `def` belong to this entity: contacts and area events reach it.
  void ownBodiesOf(b2BodyDef& def);

 private:
  uint64_t serial_;
  bool inWorld_ = true;
};
