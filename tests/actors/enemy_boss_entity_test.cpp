#include "actors/enemy_boss_entity.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "actors/enemy_entity.h"
#include "actors/player_entity.h"
#include "arena/area_box.h"
#include "physics/particle_system.h"
#include "support/frame_script.h"
#include "support/game_test.h"
#include "support/world_seam.h"
#include "world/hud_entity.h"
#include "world/world_container.h"

namespace {

constexpr int kBurstDrops = 2693;
constexpr int kDropsPerEnemy = 18;
constexpr float kPositionTolerance = 0.05f;  // m

// The overlay, remembering every boss report it is handed.
class RecordingHud : public HudEntity {
 public:
  using HudEntity::HudEntity;
  using HudEntity::onEvent;
  void onEvent(const BossStatus& status) override {
    reports.push_back(status);
    HudEntity::onEvent(status);
  }
  std::vector<BossStatus> reports;
};

// Stage 4 with the boss in its place; the player is held still far above the arena so that the
// boss's drift never meets it.
class BossArena : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    world.reset(new WorldContainer(4));
    boss = static_cast<EnemyBossEntity*>(world->ownedEntities().front().get());
    WorldSeam::replaceHud(*world, nullptr);
    hud = new RecordingHud(world.get());
    WorldSeam::replaceHud(*world, std::unique_ptr<HudEntity>(hud));
  }

  void TearDown() override {
    world.reset();
    GameTest::TearDown();
  }

  void holdPlayerAside() {
    world->player().body()->SetTransform(b2Vec2(60.0f, 60.0f), 0.0f);
    world->player().body()->SetType(b2_staticBody);
  }

  void hitBoss(int blows, double damage, Entity* attacker) {
    for (int i = 0; i < blows; ++i) {
      HitMessage blow{attacker, damage, 1.0};
      boss->onEvent(blow);
    }
  }

  void play(int frames) { script.play(*world, frames); }

  std::vector<EnemyEntity*> liveEnemies() const {
    std::vector<EnemyEntity*> enemies;
    for (const std::unique_ptr<Entity>& entity : world->ownedEntities()) {
      if (entity->kind == KIND_ENEMY && world->isLive(entity.get())) {
        enemies.push_back(static_cast<EnemyEntity*>(entity.get()));
      }
    }
    return enemies;
  }

  void expectBossAt(float x, float y) {
    EXPECT_NEAR(x, boss->body->GetPosition().x, kPositionTolerance);
    EXPECT_NEAR(y, boss->body->GetPosition().y, kPositionTolerance);
  }

  std::unique_ptr<WorldContainer> world;
  EnemyBossEntity* boss = nullptr;
  RecordingHud* hud = nullptr;
  FrameScript script;
};

TEST_F(BossArena, RisesAfterTwoHundredFramesAndComesBackAfterAWholeCycle) {
  holdPlayerAside();
  play(200);
  expectBossAt(7.0f, 4.5f);
  play(200);
  expectBossAt(7.0f, 24.5f);
  // The called enemies would stand in the boss's way down; drop them out of the level.
  for (EnemyEntity* enemy : liveEnemies()) enemy->body->SetTransform(b2Vec2(0.0f, -30.0f), 0.0f);
  play(1001);
  expectBossAt(7.0f, 4.5f);
}

TEST_F(BossArena, CallsInSixEnemiesAtFixedPlacesAfterFourHundredFrames) {
  holdPlayerAside();
  play(399);
  EXPECT_TRUE(liveEnemies().empty());
  play(1);
  const std::vector<EnemyEntity*> called = liveEnemies();
  ASSERT_EQ(6u, called.size());
  for (size_t i = 0; i < called.size(); ++i) {
    EXPECT_FLOAT_EQ(1.0f + 2.0f * i, called[i]->body->GetPosition().x);
    EXPECT_FLOAT_EQ(10.0f, called[i]->body->GetPosition().y);
  }
}

TEST_F(BossArena, ReportsToTheOverlayEveryFrameUntilItFalls) {
  holdPlayerAside();
  play(3);
  hitBoss(74, 20.0, &world->player());
  EXPECT_EQ(20, boss->health);
  play(1);
  hitBoss(1, 20.0, &world->player());
  play(3);

  ASSERT_EQ(5u, hud->reports.size());
  EXPECT_TRUE(hud->reports[0].alive);
  EXPECT_DOUBLE_EQ(1.0, hud->reports[0].healthFraction);
  EXPECT_TRUE(hud->reports[3].alive);
  EXPECT_DOUBLE_EQ(20.0 / 1500.0, hud->reports[3].healthFraction);
  EXPECT_FALSE(hud->reports[4].alive);
  EXPECT_DOUBLE_EQ(0.0, hud->reports[4].healthFraction);
}

TEST_F(BossArena, OnlyThePlayersBlowsHurtIt) {
  world->spawnEnemy(20.0f, 5.0f);
  hitBoss(1, 50.0, world->ownedEntities().back().get());
  hitBoss(1, 100.0, boss);
  EXPECT_EQ(1500, boss->health);
  hitBoss(1, 20.0, &world->player());
  EXPECT_EQ(1480, boss->health);
}

TEST_F(BossArena, TouchingItCostsThePlayerAHundredPoints) {
  // Dropped onto the top of the disc.
  world->player().body()->SetTransform(b2Vec2(6.0f, 9.0f), 0.0f);
  const double before = world->player().health();
  for (int i = 0; i < 30 && world->player().health() == before; ++i) play(1);
  EXPECT_DOUBLE_EQ(before - 100.0, world->player().health());
}

TEST_F(BossArena, ItsFallBurstsIntoLiquidAndFellsEveryEnemyInTheLevel) {
  holdPlayerAside();
  play(400);
  const std::vector<EnemyEntity*> called = liveEnemies();
  ASSERT_EQ(6u, called.size());
  hitBoss(75, 20.0, &world->player());
  play(1);
  EXPECT_FALSE(world->isLive(boss));
  play(1);
  EXPECT_TRUE(liveEnemies().empty());
  for (EnemyEntity* enemy : called) EXPECT_LE(enemy->health, 0);
  EXPECT_EQ(kBurstDrops + 6 * kDropsPerEnemy, world->liquid().GetParticleCount());
}

TEST_F(BossArena, AFallenBossIsNoLongerUpdatedOrHitButItsHealthStaysReadable) {
  holdPlayerAside();
  hitBoss(75, 20.0, &world->player());
  play(1);
  const int32_t timer = boss->patternTimer;
  const int32_t health = boss->health;
  play(10);
  EXPECT_EQ(timer, boss->patternTimer);
  const b2AABB where = areaBox(3.0f, 1.0f, 11.0f, 8.0f);
  HitMessage blow{&world->player(), 20.0, 1.0};
  world->sendToArea(where, blow);
  EXPECT_EQ(health, boss->health);
  // The stage's watch on the boss saw it fall, once.
  EXPECT_EQ(1, world->stageFlag("boss_defeated"));
}

}  // namespace
