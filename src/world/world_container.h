#pragma once

// The model of a game in progress: the physics world with its liquid, the terrain on one
// static ground body, the player, the overlay, the enemies and the boss, the stage's pictures,
// music, triggers and once-only flags, and the off-screen picture the visible area is drawn
// into every frame. It is also the physics world's contact listener.
//
// Units are metres at 64 pixels each; world y points up, screen y down; (cameraX, cameraY) is the
// world point at the bottom-left corner of the 800 × 600 view. It is the arena its actors live
// in.

#include <SDL.h>
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
#include "app/transition.h"
#include "arena/arena.h"
#include "graphics/point.h"

class Bitmap;
class Entity;
class FixtureContainer;
class FixtureCounter;
class HudEntity;
class ParticleSystem;
class PlayerEntity;
class WorldDrawing;
namespace TarnwickApp {
class Sprite;
}

// A trigger's request to leave for another stage, and how the change is shown: the display
// freezes on the last picture, the world rebuilds itself for `nextStage` carrying the player's
// health, and the frozen picture fades into the new stage, which may first be drawn once; then
// the new stage's music may start and frames may be held.
struct StageChange {
  int32_t nextStage;
  int fadeFrames = 0;
  bool drawnBeforeFade = false;
  const char* music = nullptr;  // none: the stage's own music plays on
  int heldFrames = 0;
};

// Watches the stage after every step: asks for a change of stage, or for nothing.
using Trigger = std::function<std::optional<StageChange>()>;

class WorldContainer : public b2ContactListener, public Arena {
 public:
  // Live entities in update order: order of creation.
  struct ByCreation {
    bool operator()(const Entity* a, const Entity* b) const;
  };
  using LiveEntities = std::set<Entity*, ByCreation>;
  using OwnedEntities = std::vector<std::unique_ptr<Entity>>;
  using Terrain = std::vector<std::unique_ptr<FixtureContainer>>;

  // Builds a complete world for a stage that has a script; any other number builds the fixed
  // parts only.
  explicit WorldContainer(int32_t stageNumber);
  ~WorldContainer() override;
  WorldContainer(const WorldContainer&) = delete;
  WorldContainer& operator=(const WorldContainer&) = delete;

  // One frame: physics, entity updates and triggers; returns the change of stage a trigger asked
  // for, if any.
  std::optional<StageChange> step();
  // The transition that carries out `change`, to be played at once: the rebuild and the new
  // stage's music are steps of it.
  Transition changeStage(const StageChange& change);
  // Takes the picture of the world's visible part that the frames show until the next render.
  void render();

  // Tears this world down and builds stage `stageNumber` in its place: every pointer to this
  // container stays valid and now reaches the new stage.
  void rebuild(int32_t stageNumber);

  // The arena's services (see arena/arena.h).
  b2World* getWorld() override { return physicsWorld.get(); }
  ParticleSystem& liquid() override { return *particleSystem; }
  PlayerEntity& player() override { return *player_; }
  const PlayerEntity& player() const { return *player_; }
  b2Vec2 respawnPoint() const override { return respawnPoint_; }
  void queryArea(FixtureCounter& counter, const b2AABB& box) override;
  void sendToArea(const b2AABB& box, const HitMessage& hit) override;
  void fellFoesIn(const b2AABB& box, double damage) override;
  void notifyHud(const HealthReport& report) override;
  void notifyHud(const WeaponReport& report) override;
  void notifyHud(const BossStatus& report) override;
  void spawnEnemy(float x, float y) override;
  void moveCamera(double x, double y) override;
  Point worldToScreen(float x, float y) const override;
  uint64_t takeEntitySerial() override { return nextEntitySerial_++; }
  void registerEntity(Entity* entity) override { entityRegistry.insert(entity); }
  void unregisterEntity(Entity* entity) override;

  // Building a stage (the stage scripts): pictures, music, terrain, foes, flags, triggers and
  // the start point.
  void setPanorama(const char* name);
  void setStageImage(const char* name);
  // The height of the stage picture in pixels: terrain is laid out from its top edge.
  double stageImageHeight() const;
  // Plays `name` as the stage's music, looping, and remembers its channel.
  void playMusic(const char* name);
  // One terrain box in stage pixels on the ground body; logs its corners.
  void addTerrainRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, bool notGround);
  // A terrain fixture of `shape` on the ground body, tagged `tag`.
  void addTerrainShape(const b2PolygonShape& shape, int32_t tag);
  // Keeps `container` (a fixture of the ground body) as terrain until the teardown.
  FixtureContainer* keepTerrain(std::unique_ptr<FixtureContainer> container);
  // Destroys a piece of terrain at once.
  void dropTerrain(const FixtureContainer* container);
  // Keeps `entity` until the teardown, as the world keeps its foes.
  Entity* adopt(std::unique_ptr<Entity> entity);
  void addTrigger(Trigger trigger);
  // A once-only flag of the stage, 0 until set; reading an absent flag adds it.
  int32_t& stageFlag(const std::string& name) { return stageFlags[name]; }
  void setRespawnPoint(const b2Vec2& at) { respawnPoint_ = at; }

  // What the world holds, for the map screen and for checks.
  HudEntity& hud() { return *hud_; }
  // The bottom-left corner of the view.
  double cameraX() const { return cameraX_; }
  double cameraY() const { return cameraY_; }
  int32_t musicChannel() const { return musicChannel_; }
  b2Body* ground() { return groundBody; }
  // The picture of the last render, drawn into a bitmap of its own.
  Bitmap& picture();
  const Terrain& terrain() const { return fixtureContainers; }
  const OwnedEntities& ownedEntities() const { return entities; }
  const LiveEntities& liveEntities() const { return entityRegistry; }
  size_t triggerCount() const { return triggers.size(); }
  bool isLive(const Entity* entity) const;
  // True from the end of this world's teardown until its next build completes.
  bool destroyed() const { return worldDestroyed; }

  void BeginContact(b2Contact* contact) override;
  void EndContact(b2Contact* contact) override;

 private:
  // Tests put an overlay of their own in place of the world's (tests/support/world_seam.h).
  friend struct WorldSeam;

  void build(int32_t stageNumber);
  void teardown();
  // Hands `touch` to the entities of both fixtures of its contact, fixture A's first.
  template <class Touch>
  void routeContact(const Touch& touch);
  // Calls `act` once on every entity with a fixture overlapping `box`, in the order of their
  // bodies' addresses.
  void forEachEntityIn(const b2AABB& box, const std::function<void(Entity&)>& act);
  // Where the stage picture's top left corner falls in the window.
  SDL_Point stageImageCorner() const;
  // Adds every sprite in view, liquid and fixtures, to the picture being taken.
  void addVisibleArea();
  void updateEntities();
  // Runs the triggers in order until one asks for a change of stage, and returns that request.
  std::optional<StageChange> runTriggers();
  // Rebuilds this world for stage `stageNumber`, carrying the player's health.
  void rebuildCarryingHealth(int32_t stageNumber);
  std::unique_ptr<FixtureContainer> terrainFixture(const b2PolygonShape& shape, int32_t tag);

  float timeStep;
  double cameraX_;
  double cameraY_;
  LiveEntities entityRegistry;
  OwnedEntities entities;  // enemies and the boss, released at teardown
  b2Vec2 respawnPoint_;
  std::unique_ptr<b2World> physicsWorld;
  std::unique_ptr<ParticleSystem> particleSystem;
  std::unique_ptr<PlayerEntity> player_;
  std::unique_ptr<HudEntity> hud_;
  Bitmap* panorama;
  Bitmap* stageImage;
  std::unique_ptr<Bitmap> virtualBitmap;
  std::unique_ptr<WorldDrawing> worldDrawing;
  std::unique_ptr<TarnwickApp::Sprite> particleSprite;
  Terrain fixtureContainers;
  std::vector<Trigger> triggers;
  std::map<std::string, int32_t> stageFlags;
  int32_t musicChannel_;
  b2Body* groundBody;
  bool worldDestroyed = false;
  uint64_t nextEntitySerial_ = 0;
};
