#include "world/world_container.h"

#include <algorithm>
#include <cmath>

#include "actors/enemy_entity.h"
#include "actors/fixture_container.h"
#include "actors/fixture_counter.h"
#include "actors/player_entity.h"
#include "app/app_context.h"
#include "arena/area_box.h"
#include "graphics/bitmap.h"
#include "graphics/sprite.h"
#include "media/asset_registry.h"
#include "media/sound_playback.h"
#include "physics/particle_system.h"
#include "physics/particle_system_def.h"
#include "world/hud_entity.h"
#include "world/stage_scripts.h"
#include "world/world_drawing.h"

namespace {

constexpr float kTimeStep = 0.05f;  // seconds per frame
constexpr int32_t kVelocityIterations = 8;
constexpr int32_t kPositionIterations = 3;
constexpr int32_t kParticleIterations = 1;
constexpr float kGravity = -10.0f;        // m/s²
constexpr float kParticleRadius = 0.08f;  // m
constexpr float kViewMargin = 0.5f;       // m drawn beyond every edge of the view
constexpr int kParticlePivot = 8;         // the drop picture's centre, pixels
constexpr int kMusicFadeInMs = 500;
constexpr int kMusicFadeOutMs = 1000;
constexpr float kTerrainFriction = 1.0f;
constexpr float kTerrainDensity = 0.0f;  // static: no mass
const b2Vec2 kDefaultRespawnPoint(1.0f, 1.0f);

double viewWidthMetres() {
  return SCREEN_WIDTH / PIXELS_PER_METRE;
}
double viewHeightMetres() {
  return SCREEN_HEIGHT / PIXELS_PER_METRE;
}

}  // namespace

bool WorldContainer::ByCreation::operator()(const Entity* a, const Entity* b) const {
  return a->serial() < b->serial();
}

WorldContainer::WorldContainer(int32_t stageNumber) {
  build(stageNumber);
}

WorldContainer::~WorldContainer() {
  teardown();
}

void WorldContainer::rebuild(int32_t stageNumber) {
  teardown();
  build(stageNumber);
}

void WorldContainer::build(int32_t stageNumber) {
  timeStep = kTimeStep;
  cameraX_ = 0.0;
  cameraY_ = 0.0;
  respawnPoint_ = kDefaultRespawnPoint;
  panorama = nullptr;
  stageImage = nullptr;
  musicChannel_ = -1;

  physicsWorld = std::make_unique<b2World>(b2Vec2(0.0f, kGravity));
  ParticleSystemDef particleDef;
  particleDef.radius = kParticleRadius;
  particleSystem = std::make_unique<ParticleSystem>(physicsWorld.get(), particleDef);
  physicsWorld->SetContactListener(this);

  virtualBitmap = std::make_unique<Bitmap>(SCREEN_WIDTH, SCREEN_HEIGHT);
  // A new stage may be faded in before its first render: it starts as a blank picture.
  worldDrawing = std::make_unique<WorldDrawing>(virtualBitmap.get());
  particleSprite = std::make_unique<TarnwickApp::Sprite>();
  particleSprite->setBitmap(AssetRegistry::instance()->bitmap("water_particle"), true);
  particleSprite->setShown(false);
  particleSprite->setCenterX(kParticlePivot);
  particleSprite->setCenterY(kParticlePivot);

  b2BodyDef groundDef;
  groundBody = physicsWorld->CreateBody(&groundDef);
  groundBody->SetTransform(b2Vec2(0.0f, 0.0f), 0.0f);

  player_ = std::make_unique<PlayerEntity>(this);
  hud_ = std::make_unique<HudEntity>(this);
  respawnPoint_ = kDefaultRespawnPoint;
  if (StageScript script = stageScript(stageNumber)) script(*this);
  player_->body()->SetTransform(respawnPoint_, 0.0f);
  // A stage change may draw this world before the hero's first update moves the camera.
  player_->followWithCamera();
  worldDestroyed = false;
}

// The members are released one by one in this order, between the lines that announce them: the
// order is part of the log.
void WorldContainer::teardown() {
  logPrint("Destroying virtual bitmap...\n");
  virtualBitmap.reset();
  worldDrawing.reset();
  particleSprite.reset();
  if (musicChannel_ >= 0) fadeOutChannel(musicChannel_, kMusicFadeOutMs);
  logPrint("Destroying fixture containers...\n");
  for (std::unique_ptr<FixtureContainer>& container : fixtureContainers) container.reset();
  logPrint("Destroying entities...\n");
  // Actors that ended themselves keep only their storage; deleting them does not tear them
  // down twice.
  for (std::unique_ptr<Entity>& entity : entities) entity.reset();
  logPrint("Destroying walls...\n");
  physicsWorld->DestroyBody(groundBody);
  logPrint("Destroying HUD...\n");
  hud_.reset();
  logPrint("Destroying Player...\n");
  player_.reset();
  logPrint("Destroying b2World...\n");
  particleSystem.reset();
  physicsWorld.reset();
  logPrint("~WorldContainer() done...\n");
  worldDestroyed = true;
  stageFlags.clear();
  triggers.clear();
  fixtureContainers.clear();
  entities.clear();
  entityRegistry.clear();
}

void WorldContainer::unregisterEntity(Entity* entity) {
  entityRegistry.erase(entity);
}

bool WorldContainer::isLive(const Entity* entity) const {
  return entityRegistry.count(const_cast<Entity*>(entity)) != 0;
}

std::optional<StageChange> WorldContainer::step() {
  physicsWorld->Step(timeStep, kVelocityIterations, kPositionIterations);
  particleSystem->Step(timeStep, kParticleIterations);
  updateEntities();
  // The change of stage waits for the end of the pass: rebuilding the world tears its triggers
  // down.
  return runTriggers();
}

void WorldContainer::updateEntities() {
  // An entity may end itself (and leave the set) inside its own update, and may add new ones:
  // fetch the next before calling.
  for (auto next = entityRegistry.begin(); next != entityRegistry.end();) {
    Entity* entity = *next++;
    entity->update();
  }
}

std::optional<StageChange> WorldContainer::runTriggers() {
  for (const Trigger& trigger : triggers) {
    if (std::optional<StageChange> change = trigger()) return change;
  }
  return std::nullopt;
}

void WorldContainer::render() {
  worldDrawing->beginPicture(panorama, stageImage, stageImageCorner());
  addVisibleArea();
}

SDL_Point WorldContainer::stageImageCorner() const {
  if (stageImage == nullptr) return {0, 0};
  const float heightMetres = static_cast<float>(stageImage->height() / PIXELS_PER_METRE);
  return {static_cast<int>((0.0 - cameraX_) * PIXELS_PER_METRE),
          static_cast<int>(SCREEN_HEIGHT - (heightMetres - cameraY_) * PIXELS_PER_METRE)};
}

Bitmap& WorldContainer::picture() {
  virtualBitmap->drawAtOnce([this] { worldDrawing->draw(); });
  return *virtualBitmap;
}

void WorldContainer::addVisibleArea() {
  const float left = static_cast<float>(cameraX_);
  const float bottom = static_cast<float>(cameraY_);
  const b2AABB view = areaBox(left - kViewMargin, bottom - kViewMargin,
                              left + static_cast<float>(viewWidthMetres()) + kViewMargin,
                              bottom + static_cast<float>(viewHeightMetres()) + kViewMargin);
  FixtureCounter counter;
  queryArea(counter, view);
  const b2Vec2* positions = particleSystem->GetPositionBuffer();
  for (int32_t index : counter.particleIndices) {
    const Point screen = worldToScreen(positions[index].x, positions[index].y);
    particleSprite->setX(screen.x);
    particleSprite->setY(screen.y);
    worldDrawing->add(*particleSprite);
  }
  for (b2Fixture* fixture : counter.fixtures) {
    FixtureContainer* container = FixtureContainer::of(fixture);
    if (container == nullptr) continue;
    container->syncSprite();
    container->sprite->setShown(false);
    worldDrawing->add(*container->sprite);
  }
}

void WorldContainer::queryArea(FixtureCounter& counter, const b2AABB& box) {
  physicsWorld->QueryAABB(&counter, box);
  particleSystem->QueryAABB(&counter, box);
}

void WorldContainer::sendToArea(const b2AABB& box, const HitMessage& hit) {
  forEachEntityIn(box, [&hit](Entity& entity) { entity.onEvent(hit); });
}

void WorldContainer::fellFoesIn(const b2AABB& box, double damage) {
  forEachEntityIn(box, [damage](Entity& entity) { entity.beFelled(damage); });
}

void WorldContainer::forEachEntityIn(const b2AABB& box, const std::function<void(Entity&)>& act) {
  FixtureCounter counter;
  physicsWorld->QueryAABB(&counter, box);
  for (b2Body* body : counter.bodies) {
    Entity* entity = Entity::of(body);
    if (entity != nullptr) act(*entity);
  }
}

void WorldContainer::notifyHud(const HealthReport& report) {
  hud_->onEvent(report);
}

void WorldContainer::notifyHud(const WeaponReport& report) {
  hud_->onEvent(report);
}

void WorldContainer::notifyHud(const BossStatus& report) {
  hud_->onEvent(report);
}

void WorldContainer::moveCamera(double x, double y) {
  cameraX_ = x;
  cameraY_ = y;
}

Point WorldContainer::worldToScreen(float x, float y) const {
  return Point(static_cast<int32_t>((x - cameraX_) * PIXELS_PER_METRE),
               static_cast<int32_t>(SCREEN_HEIGHT - (y - cameraY_) * PIXELS_PER_METRE));
}

void WorldContainer::spawnEnemy(float x, float y) {
  auto enemy = std::make_unique<EnemyEntity>(this);
  enemy->body->SetTransform(b2Vec2(x, y), 0.0f);
  entities.push_back(std::move(enemy));
}

void WorldContainer::addTerrainRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                    bool notGround) {
  const double h = stageImage->height();
  const double left = x1 / PIXELS_PER_METRE;
  const double top = (h - y1) / PIXELS_PER_METRE;
  const double right = x2 / PIXELS_PER_METRE;
  const double bottom = (h - y2) / PIXELS_PER_METRE;
  logPrint("%lf %lf %lf %lf\n", left, top, right, bottom);
  const b2Vec2 corners[4] = {
      b2Vec2(static_cast<float>(left), static_cast<float>(top)),
      b2Vec2(static_cast<float>(right), static_cast<float>(top)),
      b2Vec2(static_cast<float>(right), static_cast<float>(bottom)),
      b2Vec2(static_cast<float>(left), static_cast<float>(bottom)),
  };
  const Point screen = worldToScreen(static_cast<float>(left), static_cast<float>(top));
  logPrint("%d %d\n", screen.x, screen.y);
  b2PolygonShape shape;
  shape.Set(corners, 4);
  addTerrainShape(shape, notGround ? TAG_NONE : TAG_GROUND);
}

void WorldContainer::addTerrainShape(const b2PolygonShape& shape, int32_t tag) {
  keepTerrain(terrainFixture(shape, tag));
}

std::unique_ptr<FixtureContainer> WorldContainer::terrainFixture(const b2PolygonShape& shape,
                                                                 int32_t tag) {
  const b2FixtureDef def = FixtureContainer::solidFixture(shape, kTerrainFriction, kTerrainDensity,
                                                          kTerrainCategory, kCollidesWithAll);
  auto container = std::make_unique<FixtureContainer>(this, groundBody, &def);
  container->tag = tag;
  return container;
}

FixtureContainer* WorldContainer::keepTerrain(std::unique_ptr<FixtureContainer> container) {
  fixtureContainers.push_back(std::move(container));
  return fixtureContainers.back().get();
}

void WorldContainer::dropTerrain(const FixtureContainer* container) {
  fixtureContainers.erase(
      std::find_if(fixtureContainers.begin(), fixtureContainers.end(),
                   [container](const auto& kept) { return kept.get() == container; }));
}

Entity* WorldContainer::adopt(std::unique_ptr<Entity> entity) {
  entities.push_back(std::move(entity));
  return entities.back().get();
}

void WorldContainer::addTrigger(Trigger trigger) {
  triggers.push_back(std::move(trigger));
}

void WorldContainer::setPanorama(const char* name) {
  panorama = AssetRegistry::instance()->bitmap(name);
}

void WorldContainer::setStageImage(const char* name) {
  stageImage = AssetRegistry::instance()->bitmap(name);
}

double WorldContainer::stageImageHeight() const {
  return stageImage->height();
}

void WorldContainer::playMusic(const char* name) {
  musicChannel_ =
      playSound(AssetRegistry::instance()->sound(name), true, kMusicFadeInMs, -1, MUSIC_LEVEL);
}

Transition WorldContainer::changeStage(const StageChange& change) {
  Transition transition;
  transition.capture().then([this, stage = change.nextStage] { rebuildCarryingHealth(stage); });
  if (change.drawnBeforeFade) transition.then([this] { render(); });
  transition.fade(change.fadeFrames);
  if (change.music != nullptr) transition.then([this, music = change.music] { playMusic(music); });
  return transition.hold(change.heldFrames);
}

void WorldContainer::rebuildCarryingHealth(int32_t stageNumber) {
  const int32_t carriedHealth = static_cast<int32_t>(player_->health());
  rebuild(stageNumber);
  player_->setHealth(carriedHealth);
  player_->addHealth(0.0);
}

void WorldContainer::BeginContact(b2Contact* contact) {
  routeContact(ContactBegan{contact});
}

void WorldContainer::EndContact(b2Contact* contact) {
  routeContact(ContactEnded{contact});
}

template <class Touch>
void WorldContainer::routeContact(const Touch& touch) {
  for (b2Fixture* fixture : {touch.contact->GetFixtureA(), touch.contact->GetFixtureB()}) {
    Entity* entity = Entity::of(fixture->GetBody());
    if (entity != nullptr) entity->onEvent(touch);
  }
}
