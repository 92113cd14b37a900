#include "actors/player_test_arena.h"

#include <algorithm>
#include <sstream>

#include "actors/player_entity.h"
#include "graphics/sprite.h"
#include "media/asset_registry.h"
#include "media/required_assets.h"
#include "support/log_capture.h"
#include "world/world_container.h"

namespace {

constexpr int kSettleFrames = 10;

// The box `area` on a body whose origin is `origin`.
b2PolygonShape boxShape(const b2AABB& area, b2Vec2 origin) {
  b2PolygonShape shape;
  const b2Vec2 half = area.GetExtents();
  shape.SetAsBox(half.x, half.y, area.GetCenter() - origin, 0.0f);
  return shape;
}

bool isHeroPicture(const std::string& name) {
  return name.rfind("serval_cat_", 0) == 0;
}

}  // namespace

std::vector<std::string> movementLog(const std::string& captured) {
  static const char* const kMovementLines[] = {
      "Landed", "Flying!0", "Flying!1", "Fixing dodge...", "Space Detected..", "Double Jumping!"};
  std::vector<std::string> lines;
  std::istringstream in(captured);
  for (std::string line; std::getline(in, line);) {
    for (const char* wanted : kMovementLines) {
      if (line == wanted) lines.push_back(line);
    }
  }
  return lines;
}

HitRecorder::HitRecorder(WorldContainer* world, b2AABB area, EntityKind entityKind)
    : Entity(world, entityKind) {
  b2BodyDef bodyDef;
  bodyDef.position = area.GetCenter();
  ownBodiesOf(bodyDef);
  body = world->getWorld()->CreateBody(&bodyDef);
  const b2PolygonShape shape = boxShape(area, bodyDef.position);
  b2FixtureDef fixtureDef;
  fixtureDef.shape = &shape;
  fixtureDef.isSensor = true;
  container = new FixtureContainer(world, body, &fixtureDef);
  container->tag = entityKind == KIND_BOSS ? TAG_BOSS : TAG_ENEMY;
}

HitRecorder::~HitRecorder() {
  delete container;
  world->getWorld()->DestroyBody(body);
}

void HitRecorder::onEvent(const HitMessage& hit) {
  hits.push_back(hit);
}

void PlayerArena::SetUp() {
  GameTest::SetUp();
  const LogCapture quiet;
  world = new WorldContainer(0);
  player = &world->player();
  addBlock(areaBox(-10.0f, -1.0f, 200.0f, 0.0f), TAG_GROUND);
  placeHero(kStartCentreX);
}

void PlayerArena::TearDown() {
  {
    const LogCapture quiet;
    delete world;
  }
  GameTest::TearDown();
}

FixtureContainer* PlayerArena::addBlock(b2AABB area, int32_t tag) {
  const b2PolygonShape shape = boxShape(area, world->ground()->GetPosition());
  const b2FixtureDef def =
      FixtureContainer::solidFixture(shape, 1.0f, 0.0f, kTerrainCategory, kCollidesWithAll);
  FixtureContainer* block = new FixtureContainer(world, world->ground(), &def);
  block->tag = tag;
  world->keepTerrain(std::unique_ptr<FixtureContainer>(block));
  return block;
}

void PlayerArena::removeBlock(FixtureContainer* block) {
  world->dropTerrain(block);
}

HitRecorder* PlayerArena::addRecorder(b2AABB area, EntityKind entityKind) {
  HitRecorder* recorder = new HitRecorder(world, area, entityKind);
  world->adopt(std::unique_ptr<Entity>(recorder));
  return recorder;
}

void PlayerArena::placeHero(float centreX, float feetY) {
  player->body()->SetTransform(b2Vec2(centreX - PlayerEntity::kCentreLineOffset, feetY), 0.0f);
  player->body()->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
  play(kSettleFrames);
}

void PlayerArena::press(SDL_Scancode key) {
  script.hold(key);
  play();
  script.release(key);
}

void PlayerArena::click() {
  script.holdButtons(SDL_BUTTON_LMASK);
  play();
  script.releaseButtons(SDL_BUTTON_LMASK);
}

std::string PlayerArena::shownPicture() {
  world->render();
  const Bitmap* shown = player->sprite().bitmap();
  for (const char* name : RequiredAssets::kBitmaps) {
    if (isHeroPicture(name) && AssetRegistry::instance()->bitmap(name) == shown) return name;
  }
  return "(none)";
}

float PlayerArena::heroCentreX() const {
  return player->centreX();
}

float PlayerArena::heroFeetY() const {
  return player->feetY();
}

b2Vec2 PlayerArena::heroVelocity() const {
  return player->body()->GetLinearVelocity();
}

PlayerArena::AttackTrace PlayerArena::attack(const std::vector<HitRecorder*>& targets,
                                             int secondClickFrame) {
  constexpr int kLongestAttack = 200;
  AttackTrace trace;
  trace.hitFrames.resize(targets.size());
  const double healthBefore = player->health();
  do {
    ++trace.frames;
    const bool clicking = trace.frames == 1 || trace.frames == secondClickFrame;
    if (clicking) {
      script.holdButtons(SDL_BUTTON_LMASK);
    } else {
      script.releaseButtons(SDL_BUTTON_LMASK);
    }
    std::vector<size_t> hitsBefore;
    for (const HitRecorder* target : targets) hitsBefore.push_back(target->hits.size());
    play();
    for (size_t i = 0; i < targets.size(); ++i) {
      if (targets[i]->hits.size() > hitsBefore[i]) trace.hitFrames[i].push_back(trace.frames);
    }
    trace.pictures.push_back(shownPicture());
  } while (player->attackPhase() != 0 && trace.frames < kLongestAttack);
  script.releaseButtons(SDL_BUTTON_LMASK);
  trace.cost = healthBefore - player->health();
  return trace;
}

std::vector<std::string> pictureRun(std::initializer_list<std::pair<int, const char*>> stretches) {
  std::vector<std::string> pictures;
  for (const auto& [frames, picture] : stretches) pictures.insert(pictures.end(), frames, picture);
  return pictures;
}
