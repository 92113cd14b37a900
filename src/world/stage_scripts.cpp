// The four stages: each script chooses the stage's pictures and music, lays out its terrain
// from the shared stage layout, places its foes, sets the start point and registers the
// triggers that watch for the exit, the ambush and the boss's fall.

#include "world/stage_scripts.h"

#include <iterator>

#include "actors/enemy_boss_entity.h"
#include "actors/fixture_container.h"
#include "actors/player_entity.h"
#include "app/app_context.h"
#include "media/sound_playback.h"
#include "world/stage_layout.h"
#include "world/world_container.h"

namespace {

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
    world.addTerrainRect(box.x1, box.y1, box.x2, box.y2, box.notGround);
  }
}

b2Vec2 playerAt(WorldContainer& world) {
  return world.player().body()->GetPosition();
}

// The ordinary way into the next stage: a short fade into it before its first picture.
StageChange plainChangeTo(int32_t nextStage) {
  return StageChange{nextStage, kStageFadeFrames};
}

// A trigger that, once `reached` holds, logs `announcement` (if any) and asks for `change`.
Trigger stageExit(StageChange change, std::function<bool()> reached,
                  const char* announcement = nullptr) {
  return [change, reached, announcement]() -> std::optional<StageChange> {
    if (!reached()) return std::nullopt;
    if (announcement != nullptr) logPrint("%s", announcement);
    return change;
  };
}

void buildStage1(WorldContainer& world) {
  world.setPanorama("panorama1");
  world.playMusic("fight_bgm");
  world.setStageImage("stage1");
  addTerrain(world, StageLayout::kStage1Terrain);
  for (const b2Vec2& at : kStage1Enemies) world.spawnEnemy(at.x, at.y);
  world.stageFlag("monster_triggered") = 0;
  world.addTrigger(
      stageExit(plainChangeTo(2), [&world] { return playerAt(world).x >= kStage1ExitX; }));
  world.addTrigger([&world]() -> std::optional<StageChange> {
    if (world.stageFlag("monster_triggered") != 0) return std::nullopt;
    if (!(playerAt(world).x >= kAmbushX)) return std::nullopt;
    world.stageFlag("monster_triggered") = 1;
    for (const b2Vec2& at : kAmbushEnemies) world.spawnEnemy(at.x, at.y);
    return std::nullopt;
  });
  world.setRespawnPoint(kStage1Start);
}

void buildStage2(WorldContainer& world) {
  world.setPanorama("panorama2");
  world.playMusic("fight_bgm");
  world.setStageImage("stage2");
  world.addTrigger(stageExit(
      plainChangeTo(3),
      [&world] {
        // The float position widened to double against the double threshold: 47.79999924
        // stays, 47.80000305 leaves.
        const b2Vec2 at = playerAt(world);
        return static_cast<double>(at.x) >= kStage2ExitX && at.y >= kStage2ExitY;
      },
      "Going to stage 3...\n"));
  addTerrain(world, StageLayout::kStage2Terrain);
  world.setRespawnPoint(kStage2Start);
}

void addSlope(WorldContainer& world) {
  const double h = world.stageImageHeight();
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
  world.addTerrainShape(shape, TAG_GROUND);
}

void buildStage3(WorldContainer& world) {
  world.setPanorama("panorama3");
  world.playMusic("fight_bgm");
  world.setStageImage("stage3");
  // The boss's stage is drawn before its longer fade, and its music starts once it is in view.
  const StageChange intoBossStage{4, kBossStageFadeFrames, true, "last_boss",
                                  kBossStageSettleFrames};
  world.addTrigger(
      stageExit(intoBossStage, [&world] { return playerAt(world).x >= kStage3ExitX; }));
  for (int x = kStage3FirstEnemyX; x <= kStage3LastEnemyX; ++x) {
    world.spawnEnemy(static_cast<float>(x), kStage3EnemyY);
  }
  addSlope(world);
  world.setRespawnPoint(kStage3Start);
}

void buildStage4(WorldContainer& world) {
  world.setPanorama("panorama4");
  world.setStageImage("stage4");
  auto boss = std::make_unique<EnemyBossEntity>(&world);
  boss->body->SetTransform(kBossStart, 0.0f);
  world.stageFlag("boss_defeated") = 0;
  // The boss's storage outlives its fall, so the trigger may keep reading its health.
  world.addTrigger([&world, boss = boss.get()]() -> std::optional<StageChange> {
    if (world.stageFlag("boss_defeated") != 0) return std::nullopt;
    if (!(boss->health <= 0)) return std::nullopt;
    fadeOutChannel(world.musicChannel(), kBossMusicFadeOutMs);
    world.playMusic("title");
    world.stageFlag("boss_defeated") = 1;
    return std::nullopt;
  });
  world.adopt(std::move(boss));
  addTerrain(world, StageLayout::kStage4Terrain);
  world.setRespawnPoint(kStage4Start);
}

// The stages in the order they are played.
constexpr StageScript kStages[] = {buildStage1, buildStage2, buildStage3, buildStage4};

}  // namespace

StageScript stageScript(int32_t stageNumber) {
  if (stageNumber < 1 || stageNumber > static_cast<int32_t>(std::size(kStages))) return nullptr;
  return kStages[stageNumber - 1];
}
