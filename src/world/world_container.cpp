#include "world/world_container.h"

#include <cmath>

#include "actors/enemy_entity.h"
#include "actors/fixture_container.h"
#include "actors/fixture_counter.h"
#include "actors/player_entity.h"
#include "app/app_context.h"
#include "graphics/bitmap.h"
#include "graphics/sprite.h"
#include "media/asset_registry.h"
#include "media/sound_playback.h"
#include "physics/particle_system.h"
#include "physics/particle_system_def.h"
#include "scenes/hud_entity.h"
#include "world/area_box.h"

namespace {

constexpr float kTimeStep = 0.05f;  // seconds per frame
constexpr int32_t kVelocityIterations = 8;
constexpr int32_t kPositionIterations = 3;
constexpr int32_t kParticleIterations = 1;
constexpr float kGravity = -10.0f;        // m/s²
constexpr float kParticleRadius = 0.08f;  // m
constexpr float kViewMargin = 0.5f;       // m drawn beyond every edge of the view
constexpr int kParticlePivot = 8;         // the drop picture's centre, pixels
constexpr int kMusicFadeOutMs = 1000;
constexpr float kTerrainFriction = 1.0f;
constexpr float kTerrainDensity = 0.0f;  // static: no mass
const b2Vec2 kDefaultRespawnPoint(1.0f, 1.0f);
// Black, and opaque: see the world picture's blend mode.
constexpr SDL_Color kBlank{0, 0, 0, 255};

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
  cameraX = 0.0;
  cameraY = 0.0;
  respawnPoint = kDefaultRespawnPoint;
  panorama = nullptr;
  stageImage = nullptr;
  musicChannel = -1;

  physicsWorld = std::make_unique<b2World>(b2Vec2(0.0f, kGravity));
  ParticleSystemDef particleDef;
  particleDef.radius = kParticleRadius;
  particleSystem = std::make_unique<ParticleSystem>(physicsWorld.get(), particleDef);
  physicsWorld->SetContactListener(this);

  virtualBitmap = std::make_unique<Bitmap>(SCREEN_WIDTH, SCREEN_HEIGHT);
  // A new stage may be faded in before its first render: start from a blank picture.
  virtualBitmap->clear(kBlank);
  virtualSprite = std::make_unique<TarnwickApp::Sprite>();
  virtualSprite->setBitmap(virtualBitmap.get(), true);
  // The world picture is opaque (everything is blended onto an opaque blank) and lies on the
  // window's black: copying it shows exactly what blending it would, at a fraction of the cost
  // of blending 800 × 600 pixels every frame. Being opaque, it is also a sound fade target.
  SDL_SetTextureBlendMode(virtualBitmap->texture(), SDL_BLENDMODE_NONE);
  particleSprite = std::make_unique<TarnwickApp::Sprite>();
  particleSprite->setBitmap(AssetRegistry::instance()->bitmap("water_particle"), true);
  particleSprite->setShown(false);
  particleSprite->setCenterX(kParticlePivot);
  particleSprite->setCenterY(kParticlePivot);

  b2BodyDef groundDef;
  groundBody = physicsWorld->CreateBody(&groundDef);
  groundBody->SetTransform(b2Vec2(0.0f, 0.0f), 0.0f);

  player = std::make_unique<PlayerEntity>(this);
  hud = std::make_unique<HudEntity>(this);
  respawnPoint = kDefaultRespawnPoint;
  switch (stageNumber) {
    case 1:
      buildStage1();
      break;
    case 2:
      buildStage2();
      break;
    case 3:
      buildStage3();
      break;
    case 4:
      buildStage4();
      break;
    default:
      break;
  }
  player->body->SetTransform(respawnPoint, 0.0f);
  // A stage change may draw this world before the hero's first update moves the camera.
  player->followWithCamera();
  worldDestroyed = false;
}

// The members are released one by one in this order, between the lines that announce them: the
// order is part of the log.
void WorldContainer::teardown() {
  logPrint("Destroying virtual bitmap...\n");
  virtualBitmap.reset();
  virtualSprite.reset();
  particleSprite.reset();
  if (musicChannel >= 0) fadeOutChannel(musicChannel, kMusicFadeOutMs);
  logPrint("Destroying fixture containers...\n");
  for (std::unique_ptr<FixtureContainer>& container : fixtureContainers) container.reset();
  logPrint("Destroying entities...\n");
  // Actors that ended themselves keep only their storage; deleting them does not tear them
  // down twice.
  for (std::unique_ptr<Entity>& entity : entities) entity.reset();
  logPrint("Destroying walls...\n");
  physicsWorld->DestroyBody(groundBody);
  logPrint("Destroying HUD...\n");
  hud.reset();
  logPrint("Destroying Player...\n");
  player.reset();
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

void WorldContainer::step() {
  physicsWorld->Step(timeStep, kVelocityIterations, kPositionIterations);
  particleSystem->Step(timeStep, kParticleIterations);
  updateEntities();
  runTriggers();
}

void WorldContainer::updateEntities() {
  // An entity may end itself (and leave the set) inside its own update, and may add new ones:
  // fetch the next before calling.
  for (auto next = entityRegistry.begin(); next != entityRegistry.end();) {
    Entity* entity = *next++;
    if (!worldDestroyed) entity->update();
  }
}

void WorldContainer::runTriggers() {
  for (size_t i = 0; !worldDestroyed && i < triggers.size(); ++i) {
    // A stage change rebuilds this container, triggers included, while the trigger runs: run
    // a copy, and touch nothing of the container once a trigger says it has been replaced.
    const std::function<bool()> trigger = triggers[i];
    if (!trigger()) return;
  }
}

void WorldContainer::render() {
  if (worldDestroyed) return;
  drawBackground();
  SDL_SetRenderTarget(getRenderer(), virtualBitmap->texture());
  drawVisibleArea();
  SDL_SetRenderTarget(getRenderer(), nullptr);
}

void WorldContainer::drawBackground() {
  virtualBitmap->clear(kBlank);
  if (panorama != nullptr) {
    const SDL_Rect view{0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
    virtualBitmap->blit(panorama, &view, &view, 255);
  }
  if (stageImage != nullptr) {
    const int w = stageImage->width();
    const int h = stageImage->height();
    const float heightMetres = static_cast<float>(h / PIXELS_PER_METRE);
    const SDL_Rect source{0, 0, w, h};
    const SDL_Rect dest{
        static_cast<int>((0.0 - cameraX) * PIXELS_PER_METRE),
        static_cast<int>(SCREEN_HEIGHT - (heightMetres - cameraY) * PIXELS_PER_METRE), w, h};
    virtualBitmap->blit(stageImage, &source, &dest, 255);
  }
}

void WorldContainer::drawVisibleArea() {
  const float left = static_cast<float>(cameraX);
  const float bottom = static_cast<float>(cameraY);
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
    particleSprite->draw();
  }
  for (b2Fixture* fixture : counter.fixtures) {
    FixtureContainer* container = FixtureContainer::of(fixture);
    if (container == nullptr) continue;
    container->syncSprite();
    container->sprite->setShown(false);
    container->sprite->draw();
  }
}

void WorldContainer::queryArea(FixtureCounter& counter, const b2AABB& box) {
  physicsWorld->QueryAABB(&counter, box);
  particleSystem->QueryAABB(&counter, box);
}

void WorldContainer::sendToArea(const b2AABB& box, int32_t kind, void* data) {
  FixtureCounter counter;
  physicsWorld->QueryAABB(&counter, box);
  for (b2Body* body : counter.bodies) {
    Entity* entity = Entity::of(body);
    if (entity != nullptr) entity->onEvent(kind, data);
  }
}

void WorldContainer::notifyHud(int32_t kind, void* data) {
  hud->onEvent(kind, data);
}

Point WorldContainer::worldToScreen(float x, float y) const {
  return Point(static_cast<int32_t>((x - cameraX) * PIXELS_PER_METRE),
               static_cast<int32_t>(SCREEN_HEIGHT - (y - cameraY) * PIXELS_PER_METRE));
}

void WorldContainer::spawnEnemy(float x, float y) {
  auto enemy = std::make_unique<EnemyEntity>(this);
  enemy->body->SetTransform(b2Vec2(x, y), 0.0f);
  entities.push_back(std::move(enemy));
}

std::unique_ptr<FixtureContainer> WorldContainer::addTerrainRect(int32_t x1, int32_t y1, int32_t x2,
                                                                 int32_t y2, bool notGround) {
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
  return addTerrainFixture(shape, notGround ? TAG_NONE : TAG_GROUND);
}

std::unique_ptr<FixtureContainer> WorldContainer::addTerrainFixture(const b2PolygonShape& shape,
                                                                    int32_t tag) {
  const b2FixtureDef def = FixtureContainer::solidFixture(shape, kTerrainFriction, kTerrainDensity,
                                                          kTerrainCategory, kCollidesWithAll);
  auto container = std::make_unique<FixtureContainer>(this, groundBody, &def);
  container->tag = tag;
  return container;
}

void WorldContainer::BeginContact(b2Contact* contact) {
  routeContact(contact, EVENT_CONTACT_BEGIN);
}

void WorldContainer::EndContact(b2Contact* contact) {
  routeContact(contact, EVENT_CONTACT_END);
}

void WorldContainer::routeContact(b2Contact* contact, int32_t kind) {
  b2Contact* shared = contact;
  for (b2Fixture* fixture : {contact->GetFixtureA(), contact->GetFixtureB()}) {
    Entity* entity = Entity::of(fixture->GetBody());
    if (entity != nullptr) entity->onEvent(kind, &shared);
  }
}
