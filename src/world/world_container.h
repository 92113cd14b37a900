#pragma once

// The model of a game in progress: the physics world with its liquid, the terrain on one
// static ground body, the player, the overlay, the enemies and the boss, the stage's pictures,
// music, triggers and once-only flags, and the off-screen picture the visible area is drawn
// into every frame. It is also the physics world's contact listener.
//
// Units are metres at 64 pixels each; world y points up, screen y down; (cameraX, cameraY) is the
// world point at the bottom-left corner of the 800 × 600 view.

#include <box2d/box2d.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "actors/entity_events.h"
#include "graphics/point.h"

class Bitmap;
class Entity;
class FixtureContainer;
class FixtureCounter;
class HudEntity;
class ParticleSystem;
class PlayerEntity;
namespace TarnwickApp {
class Sprite;
}

constexpr double PIXELS_PER_METRE = 64.0;

// A trigger's request to leave for another stage. The world carries it out once the pass over
// its triggers is over: it rebuilds itself for `nextStage`, carrying the player's health, then
// runs `afterChange`, the rest of the trigger's work, on the new stage.
struct StageChange {
  int32_t nextStage;
  std::function<void()> afterChange;
};

// Watches the stage after every step: asks for a change of stage, or for nothing.
using Trigger = std::function<std::optional<StageChange>()>;

class WorldContainer : public b2ContactListener {
 public:
  // Builds a complete world for stage 1 to 4; any other number builds the fixed parts only.
  explicit WorldContainer(int32_t stageNumber);
  ~WorldContainer() override;
  WorldContainer(const WorldContainer&) = delete;
  WorldContainer& operator=(const WorldContainer&) = delete;

  // One frame: physics, entity updates, triggers.
  void step();
  // Draws the visible part of the world into virtualBitmap.
  void render();

  // Tears this world down and builds stage `stageNumber` in its place: every pointer to this
  // container stays valid and now reaches the new stage.
  void rebuild(int32_t stageNumber);

  // Hands `hit` once to every entity with a fixture overlapping `box`.
  void sendToArea(const b2AABB& box, const HitMessage& hit);
  // Hands a report of the player's health, its weapon or the boss to the overlay.
  void notifyHud(const HealthReport& report);
  void notifyHud(const WeaponReport& report);
  void notifyHud(const BossStatus& report);
  // Fixtures (with their bodies) and liquid particles in `box`, reported to `counter`.
  void queryArea(FixtureCounter& counter, const b2AABB& box);
  Point worldToScreen(float x, float y) const;
  // A new enemy with its body at (x, y), owned by the world.
  void spawnEnemy(float x, float y);
  // One terrain box in stage pixels on the ground body; logs its corners. The caller keeps it.
  std::unique_ptr<FixtureContainer> addTerrainRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                                   bool notGround);
  b2World* getWorld() { return physicsWorld.get(); }

  void BeginContact(b2Contact* contact) override;
  void EndContact(b2Contact* contact) override;

  // Entities join and leave the live set themselves, ordered by the serial they take first.
  uint64_t takeEntitySerial() { return nextEntitySerial_++; }
  void registerEntity(Entity* entity) { entityRegistry.insert(entity); }
  void unregisterEntity(Entity* entity);
  bool isLive(const Entity* entity) const;

  // Live entities in update order: order of creation.
  struct ByCreation {
    bool operator()(const Entity* a, const Entity* b) const;
  };

  float timeStep;
  double cameraX;
  double cameraY;
  std::set<Entity*, ByCreation> entityRegistry;
  std::vector<std::unique_ptr<Entity>> entities;  // enemies and the boss, released at teardown
  b2Vec2 respawnPoint;
  std::unique_ptr<b2World> physicsWorld;
  std::unique_ptr<ParticleSystem> particleSystem;
  std::unique_ptr<PlayerEntity> player;
  std::unique_ptr<HudEntity> hud;
  Bitmap* panorama;
  Bitmap* stageImage;
  std::unique_ptr<Bitmap> virtualBitmap;
  std::unique_ptr<TarnwickApp::Sprite> virtualSprite;
  std::unique_ptr<TarnwickApp::Sprite> particleSprite;
  std::vector<std::unique_ptr<FixtureContainer>> fixtureContainers;
  std::vector<Trigger> triggers;
  std::map<std::string, int32_t> stageFlags;
  int32_t musicChannel;
  b2Body* groundBody;
  // True from the end of this world's teardown until its next build completes (a stage change
  // rebuilds it in place).
  bool worldDestroyed = false;

 private:
  void build(int32_t stageNumber);
  void teardown();
  // Hands `touch` to the entities of both fixtures of its contact, fixture A's first.
  template <class Touch>
  void routeContact(const Touch& touch);
  void drawBackground();
  void drawVisibleArea();
  void updateEntities();
  // Runs the triggers in order until one asks for a change of stage, and returns that request.
  std::optional<StageChange> runTriggers();
  // Rebuilds this world for the stage `change` names, carrying the player's health, and runs
  // the rest of the trigger's work.
  void changeStage(const StageChange& change);

  // Stage scripts.
  void buildStage1();
  void buildStage2();
  void buildStage3();
  void buildStage4();
  void playMusic(const char* name);
  void addSlope();
  // A terrain fixture on the ground body; the caller keeps the container.
  std::unique_ptr<FixtureContainer> addTerrainFixture(const b2PolygonShape& shape, int32_t tag);
  // A trigger that, once `reached` holds, logs `announcement` (if any) and asks for stage
  // `nextStage`, with `afterChange` to run on it.
  Trigger stageExit(int32_t nextStage, std::function<bool()> reached,
                    std::function<void()> afterChange, const char* announcement = nullptr);

  uint64_t nextEntitySerial_ = 0;
};
