#pragma once

// The record hung on a physics fixture as its user data: what the fixture is (its tag) and the
// sprite that shows it. Terrain uses it as it is; each actor has a nested subclass that places
// and animates its sprite.

#include <box2d/box2d.h>

#include <cstdint>
#include <memory>

class Arena;
namespace TarnwickApp {
class Sprite;
}

enum FixtureTag : int32_t {
  TAG_NONE = -1,  // walls: block, but are never ground
  TAG_PLAYER = 0,
  TAG_GROUND = 1,
  TAG_BOSS = 2,
  TAG_ENEMY = 3,
};

// Collision categories: the hero and the foes are actors, the stage's boxes terrain; a fixture's
// mask names the categories it meets.
constexpr uint16_t kActorCategory = 0x0001;
constexpr uint16_t kTerrainCategory = 0x0002;
constexpr uint16_t kCollidesWithAll = 0xFFFF;

class FixtureContainer {
 public:
  // Creates the fixture on `body` from `def` and a fresh, hidden sprite.
  FixtureContainer(Arena* world, b2Body* body, const b2FixtureDef* def);
  // Destroys the fixture and the sprite.
  virtual ~FixtureContainer();
  FixtureContainer(const FixtureContainer&) = delete;
  FixtureContainer& operator=(const FixtureContainer&) = delete;

  // Called just before the world draws the sprite: place it and choose its picture. Terrain
  // draws nothing.
  virtual void syncSprite() {}

  // The record of a fixture (null for a fixture without one).
  static FixtureContainer* of(const b2Fixture* fixture);
  // A solid fixture of `shape` that never bounces, in `category`, meeting the categories of
  // `mask`.
  static b2FixtureDef solidFixture(const b2Shape& shape, float friction, float density,
                                   uint16_t category, uint16_t mask);

  int32_t tag = TAG_NONE;
  std::unique_ptr<TarnwickApp::Sprite> sprite;
  b2Fixture* fixture;
  Arena* world;

 protected:
  // Gives the sprite its picture by asset name (shown, at the picture's size), pivot and scale.
  void setUpSprite(const char* bitmapName, int centerX, int centerY, double scale);
  // Puts the sprite's pivot on the world point (x, y) as seen by the camera.
  void placeSpriteAt(float x, float y);
};
