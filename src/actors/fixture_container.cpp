#include "actors/fixture_container.h"

#include "arena/arena.h"
#include "graphics/sprite.h"
#include "media/asset_registry.h"

FixtureContainer::FixtureContainer(Arena* world, b2Body* body, const b2FixtureDef* def)
    : fixture(body->CreateFixture(def)), world(world) {
  fixture->GetUserData().pointer = reinterpret_cast<uintptr_t>(this);
  sprite = std::make_unique<TarnwickApp::Sprite>();
}

FixtureContainer::~FixtureContainer() {
  fixture->GetBody()->DestroyFixture(fixture);
}

FixtureContainer* FixtureContainer::of(const b2Fixture* fixture) {
  // Box2D hands out user data only through a non-const fixture; reading it changes nothing.
  return reinterpret_cast<FixtureContainer*>(
      const_cast<b2Fixture*>(fixture)->GetUserData().pointer);
}

b2FixtureDef FixtureContainer::solidFixture(const b2Shape& shape, float friction, float density,
                                            uint16_t category, uint16_t mask) {
  b2FixtureDef def;
  def.shape = &shape;
  def.friction = friction;
  def.restitution = 0.0f;
  def.density = density;
  def.isSensor = false;
  def.filter.categoryBits = category;
  def.filter.maskBits = mask;
  def.filter.groupIndex = 0;
  return def;
}

void FixtureContainer::setUpSprite(const char* bitmapName, int centerX, int centerY, double scale) {
  sprite->setBitmap(AssetRegistry::instance()->bitmap(bitmapName), true);
  sprite->setCenterX(centerX);
  sprite->setCenterY(centerY);
  sprite->setScaleX(scale);
  sprite->setScaleY(scale);
}

void FixtureContainer::placeSpriteAt(float x, float y) {
  const Point screen = world->worldToScreen(x, y);
  sprite->setX(screen.x);
  sprite->setY(screen.y);
}
