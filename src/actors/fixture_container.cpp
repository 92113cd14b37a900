#include "actors/fixture_container.h"

#include "graphics/sprite.h"
#include "media/asset_registry.h"
#include "world/world_container.h"

FixtureContainer::FixtureContainer(WorldContainer* world, b2Body* body, const b2FixtureDef* def)
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
