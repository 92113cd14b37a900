// A long boss fight on the map screen: the boss calls in six enemies every cycle, the hero cuts
// them down and drinks their liquid, and the fight goes on for about seventy cycles, the boss's
// health made whole again each cycle, until the hero fells it. Memory must stay flat once the
// fight is under way; the only growth allowed is the storage that ended enemies keep until the
// world is torn down, which is measured and bounded per hour of play.

#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdio>

#include "actors/enemy_boss_entity.h"
#include "actors/enemy_entity.h"
#include "actors/player_entity.h"
#include "app/app_context.h"
#include "arena/area_box.h"
#include "scenes/scene_map.h"
#include "soak/memory_sample.h"
#include "soak/soak_hero.h"
#include "support/frame_script.h"
#include "support/game_test.h"
#include "support/main_loop_seam.h"
#include "world/world_container.h"

namespace {

constexpr int kCycleFrames = 1401;
constexpr int kWarmUpFrames = 2 * kCycleFrames;
constexpr int kFullFightFrames = 100000;
constexpr int kShortFightFrames = 6 * kCycleFrames;
constexpr int kFinaleFrames = 450;      // the boss's liquid lives 400 frames
constexpr int32_t kSweepAt = 450;       // pattern clock: just before the next call (400)
constexpr double kTopUpBelow = 3000.0;  // hero health; the script keeps the hero in the fight
constexpr double kFullHeroHealth = 10000.0;
constexpr double kHealthPerDrop = 5.0;
constexpr double kFramesPerHour = 60.0 * 60.0 * 60.0;

// Bounds. A leak of one screen-sized picture (1.9 MB) per cycle, or over the full fight of a few
// kilobytes per enemy, breaks them; the heap's and the allocator's own jitter does not.
constexpr size_t kHeapSlack = 1 << 20;                  // bytes, whole fight
constexpr size_t kResidentSlack = 8 << 20;              // bytes, whole fight
constexpr size_t kMaxKeptPerEndedEnemy = 256;           // bytes
constexpr double kMaxKeptPerHourOfPlay = 512.0 * 1024;  // bytes

// The storage an ended enemy keeps: its object, the allocator's header and its slot among the
// world's entities.
size_t keptPerEndedEnemy(EnemyEntity* enemy) {
  return malloc_usable_size(enemy) + sizeof(size_t) + sizeof(Entity*);
}

class BossFightSoak : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    showScreen(std::make_unique<SceneMap>());
    world()->rebuild(4);
    boss = static_cast<EnemyBossEntity*>(world()->ownedEntities().front().get());
    hero.takeUpWeapon(SDL_SCANCODE_2);
  }
  void TearDown() override {
    showScreen(nullptr);
    GameTest::TearDown();
  }

  WorldContainer* world() const { return static_cast<SceneMap*>(currentScreen())->world.get(); }
  PlayerEntity* player() const { return &world()->player(); }

  // One frame of the map screen with the hero steered; counts what the hero drinks.
  void playFrame() {
    ASSERT_NE(nullptr, dynamic_cast<SceneMap*>(currentScreen())) << "the hero fell";
    if (player()->health() < kTopUpBelow) player()->setHealth(kFullHeroHealth);
    hero.steer(*world());
    const double before = player()->health();
    script.runScreens();
    // Health only rises by drinking; everything else costs.
    if (player()->health() > before) dropsDrunk += (player()->health() - before) / kHealthPerDrop;
    if (world()->isLive(boss) && boss->patternTimer == kSweepAt) endTheCycle();
    ++framesPlayed;
  }

  // Enemies the hero could not reach fall to one last blow before the boss calls the next six;
  // the boss is made whole so that the fight goes on. The hero changes weapons every cycle.
  void endTheCycle() {
    const b2AABB arena = areaBox(-100.0f, -100.0f, 100.0f, 100.0f);
    swept += liveEnemies();
    boss->health = EnemyBossEntity::kFullHealth;
    HitMessage blow{player(), 1000.0, 0.0};
    world()->sendToArea(arena, blow);
    boss->health = EnemyBossEntity::kFullHealth;
    static const SDL_Scancode kWeapons[] = {SDL_SCANCODE_2, SDL_SCANCODE_3, SDL_SCANCODE_1};
    hero.takeUpWeapon(kWeapons[++cycles % 3]);
  }

  void playFrames(int frames) {
    for (int i = 0; i < frames && !HasFatalFailure(); ++i) playFrame();
  }

  int liveEnemies() const {
    int live = 0;
    for (const std::unique_ptr<Entity>& owned : world()->ownedEntities()) {
      Entity* entity = owned.get();
      if (entity->kind == KIND_ENEMY && world()->isLive(entity)) ++live;
    }
    return live;
  }
  int endedEnemies() const {
    return static_cast<int>(world()->ownedEntities().size()) - 1 - liveEnemies();
  }
  EnemyEntity* firstEndedEnemy() const {
    for (const std::unique_ptr<Entity>& owned : world()->ownedEntities()) {
      Entity* entity = owned.get();
      if (entity->kind == KIND_ENEMY && !world()->isLive(entity)) {
        return static_cast<EnemyEntity*>(entity);
      }
    }
    return nullptr;
  }

  // Plays `frames` frames in all, the last ones after the hero fells the boss, and checks that
  // memory stayed flat after the warm-up.
  void fight(int frames) {
    playFrames(kWarmUpFrames);
    const MemorySample start = MemorySample::take();
    const int endedAtStart = endedEnemies();
    playFrames((frames - kFinaleFrames) / 2 - kWarmUpFrames);
    const MemorySample middle = MemorySample::take();
    playFrames(frames - kFinaleFrames - framesPlayed);
    const MemorySample end = MemorySample::take();
    const int ended = endedEnemies();
    ASSERT_GT(ended, 0);
    const size_t kept = keptPerEndedEnemy(firstEndedEnemy());
    const double endedPerHour = ended * kFramesPerHour / framesPlayed;

    HitMessage felling{player(), EnemyBossEntity::kFullHealth, 0.0};
    boss->onEvent(felling);
    playFrames(kFinaleFrames);
    const MemorySample afterTheFall = MemorySample::take();

    std::printf(
        "Boss fight of %d frames, %d cycles: %d enemies ended (%d felled by the last blow of a "
        "cycle), %.0f drops drunk\n"
        "Memory at start: %s\n"
        "Memory at middle: %s\n"
        "Memory at end: %s\n"
        "Memory after the boss's fall: %s\n"
        "Storage kept per ended enemy: %zu bytes; %.0f enemies per hour of play at 60 frames/s "
        "keep %.1f KiB per hour; heap growth over the fight %.1f KiB for %d enemies\n",
        framesPlayed, cycles, ended, swept, dropsDrunk, start.describe().c_str(),
        middle.describe().c_str(), end.describe().c_str(), afterTheFall.describe().c_str(), kept,
        endedPerHour, kept * endedPerHour / 1024.0, growth(start.heapBytes, end.heapBytes) / 1024.0,
        ended - endedAtStart);

    EXPECT_LE(kept, kMaxKeptPerEndedEnemy);
    EXPECT_LE(kept * endedPerHour, kMaxKeptPerHourOfPlay);
    const size_t keptDuringTheFight = kept * (ended - endedAtStart);
    EXPECT_LE(growth(start.heapBytes, end.heapBytes), keptDuringTheFight + kHeapSlack);
#ifndef TARNWICK_SANITIZE
    // The sanitizers hold freed blocks back for a while, so only their heap count is flat.
    EXPECT_LE(growth(start.residentBytes, end.residentBytes), keptDuringTheFight + kResidentSlack);
#endif
    EXPECT_GT(dropsDrunk, 0.0) << "the hero drinks the liquid of the foes it cuts down";
    EXPECT_FALSE(world()->isLive(boss));
    EXPECT_EQ(0, liveEnemies());
  }

  FrameScript script;
  SoakHero hero{script};
  EnemyBossEntity* boss = nullptr;
  int framesPlayed = 0;
  int cycles = 0;
  int swept = 0;
  double dropsDrunk = 0.0;
};

TEST_F(BossFightSoak, SeventyCyclesKeepMemoryFlat) {
#ifdef TARNWICK_SANITIZE
  GTEST_SKIP() << "takes too long under the sanitizers; ShortFight runs there";
#endif
  fight(kFullFightFrames);
}

TEST_F(BossFightSoak, ShortFightKeepsMemoryFlat) {
  fight(kShortFightFrames);
}

}  // namespace
