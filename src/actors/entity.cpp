#include "actors/entity.h"

#include "world/world_container.h"

Entity::Entity(WorldContainer* world) : world(world), serial_(world->takeEntitySerial()) {
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
