// The four stages: each builder chooses the stage's pictures and music, lays out its terrain
// from the shared stage layout, places its foes, sets the start point and registers the
// triggers that watch for the exit, the ambush and the boss's fall.

#include "actors/enemy_boss_entity.h"
#include "actors/fixture_container.h"
#include "actors/player_entity.h"
#include "app/app_context.h"
#include "app/screen_frames.h"
#include "graphics/bitmap.h"
#include "media/asset_registry.h"
#include "media/sound_playback.h"
#include "world/stage_layout.h"
#include "world/world_container.h"

namespace {

constexpr int kMusicFadeInMs = 500;
constexpr int kBossMusicFadeOutMs = 200;
constexpr int kStageFadeFrames = 20;
constexpr int kBossStageFadeFrames = 100;
constexpr int kBossStageSettleFrames = 60;

constexpr double kStage1ExitX = 47.0;
constexpr double kAmbushX = 28.0;
constexpr double kStage2ExitX = 47.8;
constexpr double kStage2ExitY = 10.0;
constexpr double kStage3ExitX = 59.0;

const b2Vec2 kStage1Start(2.0f, 3.0f);
const b2Vec2 kStage2Start(0.0f, 8.0f);
const b2Vec2 kStage3Start(4.0f, 31.0f);
const b2Vec2 kStage4Start(2.0f, 2.0f);
const b2Vec2 kBossStart(7.0f, 4.5f);

const b2Vec2 kStage1Enemies[] = {{5, 3}, {10, 3}, {12, 3}, {20, 3}, {22, 3}, {24, 3}};
const b2Vec2 kAmbushEnemies[] = {{30, 20}, {31, 22}, {32, 24}, {33, 25}, {34, 28}};
constexpr int kStage3FirstEnemyX = 4;
constexpr int kStage3LastEnemyX = 50;
constexpr float kStage3EnemyY = 31.0f;

template <size_t N>
void addTerrain(WorldContainer& world, const std::array<StageLayout::TerrainBox, N>& boxes) {
  for (const StageLayout::TerrainBox& box : boxes) {
    world.fixtureContainers.push_back(
        world.addTerrainRect(box.x1, box.y1, box.x2, box.y2, box.notGround));
  }
}

}  // namespace

void WorldContainer::playMusic(const char* name) {
  musicChannel =
      playSound(AssetRegistry::instance()->sound(name), true, kMusicFadeInMs, -1, MUSIC_LEVEL);
}

void WorldContainer::changeStage(const StageChange& change) {
  captureScreen();
  const int32_t carriedHealth = static_cast<int32_t>(player->health);
  rebuild(change.nextStage);
  player->health = carriedHealth;
  player->addHealth(0.0);
  change.afterChange();
}

Trigger WorldContainer::stageExit(int32_t nextStage, std::function<bool()> reached,
                                  std::function<void()> afterChange, const char* announcement) {
  return [nextStage, reached, afterChange, announcement]() -> std::optional<StageChange> {
    if (!reached()) return std::nullopt;
    if (announcement != nullptr) logPrint("%s", announcement);
    return StageChange{nextStage, afterChange};
  };
}

void WorldContainer::buildStage1() {
  panorama = AssetRegistry::instance()->bitmap("panorama1");
  playMusic("fight_bgm");
  stageImage = AssetRegistry::instance()->bitmap("stage1");
  addTerrain(*this, StageLayout::kStage1Terrain);
  for (const b2Vec2& at : kStage1Enemies) spawnEnemy(at.x, at.y);
  stageFlags["monster_triggered"] = 0;
  triggers.push_back(stageExit(
      2, [this] { return player->body->GetPosition().x >= kStage1ExitX; },
      [] { crossFade(kStageFadeFrames); }));
  triggers.push_back([this]() -> std::optional<StageChange> {
    if (stageFlags["monster_triggered"] != 0) return std::nullopt;
    if (!(player->body->GetPosition().x >= kAmbushX)) return std::nullopt;
    stageFlags["monster_triggered"] = 1;
    for (const b2Vec2& at : kAmbushEnemies) spawnEnemy(at.x, at.y);
    return std::nullopt;
  });
  respawnPoint = kStage1Start;
}

void WorldContainer::buildStage2() {
  panorama = AssetRegistry::instance()->bitmap("panorama2");
  playMusic("fight_bgm");
  stageImage = AssetRegistry::instance()->bitmap("stage2");
  triggers.push_back(stageExit(
      3,
      [this] {
        // The float position widened to double against the double threshold: 47.79999924
        // stays, 47.80000305 leaves.
        const b2Vec2 at = player->body->GetPosition();
        return static_cast<double>(at.x) >= kStage2ExitX && at.y >= kStage2ExitY;
      },
      [] { crossFade(kStageFadeFrames); }, "Going to stage 3...\n"));
  addTerrain(*this, StageLayout::kStage2Terrain);
  respawnPoint = kStage2Start;
}

void WorldContainer::buildStage3() {
  panorama = AssetRegistry::instance()->bitmap("panorama3");
  playMusic("fight_bgm");
  stageImage = AssetRegistry::instance()->bitmap("stage3");
  triggers.push_back(stageExit(
      4, [this] { return player->body->GetPosition().x >= kStage3ExitX; },
      [this] {
        render();
        crossFade(kBossStageFadeFrames);
        playMusic("last_boss");
        waitFrames(kBossStageSettleFrames);
      }));
  for (int x = kStage3FirstEnemyX; x <= kStage3LastEnemyX; ++x) {
    spawnEnemy(static_cast<float>(x), kStage3EnemyY);
  }
  addSlope();
  respawnPoint = kStage3Start;
}

void WorldContainer::addSlope() {
  const double h = stageImage->height();
  auto metresUp = [h](int pixelY) { return static_cast<float>((h - pixelY) / PIXELS_PER_METRE); };
  const float right = static_cast<float>(StageLayout::kStage3SlopeRightX / PIXELS_PER_METRE);
  const b2Vec2 corners[4] = {
      b2Vec2(0.0f, metresUp(StageLayout::kStage3SlopeBottomY)),
      b2Vec2(right, metresUp(StageLayout::kStage3SlopeBottomY)),
      b2Vec2(right, metresUp(StageLayout::kStage3SlopeTopRightY)),
      b2Vec2(0.0f, metresUp(StageLayout::kStage3SlopeTopLeftY)),
  };
  b2PolygonShape shape;
  shape.Set(corners, 4);
  fixtureContainers.push_back(addTerrainFixture(shape, TAG_GROUND));
}

void WorldContainer::buildStage4() {
  panorama = AssetRegistry::instance()->bitmap("panorama4");
  stageImage = AssetRegistry::instance()->bitmap("stage4");
  auto boss = std::make_unique<EnemyBossEntity>(this);
  boss->body->SetTransform(kBossStart, 0.0f);
  stageFlags["boss_defeated"] = 0;
  // The boss's storage outlives its fall, so the trigger may keep reading its health.
  triggers.push_back([this, boss = boss.get()]() -> std::optional<StageChange> {
    if (stageFlags["boss_defeated"] != 0) return std::nullopt;
    if (!(boss->health <= 0)) return std::nullopt;
    fadeOutChannel(musicChannel, kBossMusicFadeOutMs);
    playMusic("title");
    stageFlags["boss_defeated"] = 1;
    return std::nullopt;
  });
  entities.push_back(std::move(boss));
  addTerrain(*this, StageLayout::kStage4Terrain);
  respawnPoint = kStage4Start;
}
