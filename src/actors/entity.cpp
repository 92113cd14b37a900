#include "actors/entity.h"

#include <box2d/box2d.h>

#include "arena/arena.h"

Entity::Entity(Arena* world, EntityKind kind)
    : world(world), kind(kind), serial_(world->takeEntitySerial()) {
  world->registerEntity(this);
}

Entity::~Entity() {
  leaveWorld();
}

void Entity::leaveWorld() {
  if (!inWorld_) return;
  world->unregisterEntity(this);
  inWorld_ = false;
}

void Entity::onEvent(const HitMessage&) {}

void Entity::onEvent(const ContactBegan&) {}

void Entity::onEvent(const ContactEnded&) {}

void Entity::beFelled(double) {}

Entity* Entity::of(const b2Body* body) {
  // Box2D hands out user data only through a non-const body; reading it changes nothing.
  return reinterpret_cast<Entity*>(const_cast<b2Body*>(body)->GetUserData().pointer);
}

void Entity::ownBodiesOf(b2BodyDef& def) {
  def.userData.pointer = reinterpret_cast<uintptr_t>(this);
}
