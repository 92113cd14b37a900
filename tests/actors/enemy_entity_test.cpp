#include "actors/enemy_entity.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "actors/enemy_boss_entity.h"
#include "actors/player_entity.h"
#include "arena/area_box.h"
#include "graphics/bitmap.h"
#include "physics/particle_system.h"
#include "support/frame_script.h"
#include "support/game_test.h"
#include "support/test_assets.h"
#include "world/world_container.h"

namespace {

constexpr float kFloorTop = 2.0f;  // m
constexpr int kDropsPerEnemy = 18;

// An empty arena: a world with no stage, a long ground box and the player standing at its left
// end, far from where the enemies are put.
class EnemyArena : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    world.reset(new WorldContainer(0));
    addFloor();
    world->player().body()->SetTransform(b2Vec2(1.0f, kFloorTop), 0.0f);
  }

  void TearDown() override {
    world.reset();
    GameTest::TearDown();
  }

  EnemyEntity* enemyAt(float x, float y) {
    world->spawnEnemy(x, y);
    return static_cast<EnemyEntity*>(world->ownedEntities().back().get());
  }

  void hit(Entity* target, double damage, Entity* attacker = nullptr) {
    HitMessage message{attacker != nullptr ? attacker : &world->player(), damage, 1.0};
    target->onEvent(message);
  }

  void play(int frames) { script.play(*world, frames); }

  // Plays until the player's health changes (at most `frames` frames); returns the change.
  double playUntilPlayerHurt(int frames) {
    const double before = world->player().health();
    for (int i = 0; i < frames && world->player().health() == before; ++i) play(1);
    return world->player().health() - before;
  }

  int particles() const { return world->liquid().GetParticleCount(); }

  // The colour the world picture shows 80 pixels above an enemy's feet.
  SDL_Color pictureAboveFeet(float x, float y) {
    world->render();
    const Point feet = world->worldToScreen(x + 1.0f, y);
    return pixelAt(world->picture().texture(), feet.x, feet.y - 80);
  }

  std::unique_ptr<WorldContainer> world;
  FrameScript script;

 private:
  void addFloor() {
    b2PolygonShape box;
    box.SetAsBox(100.0f, 0.5f, b2Vec2(50.0f, kFloorTop - 0.5f), 0.0f);
    const b2FixtureDef def =
        FixtureContainer::solidFixture(box, 1.0f, 0.0f, kTerrainCategory, kCollidesWithAll);
    FixtureContainer* floor = new FixtureContainer(world.get(), world->ground(), &def);
    floor->tag = TAG_GROUND;
    world->keepTerrain(std::unique_ptr<FixtureContainer>(floor));
  }
};

bool sameColour(SDL_Color a, SDL_Color b) {
  return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

TEST_F(EnemyArena, ThreeLightBlowsKillAndTheEnemyBurstsOnItsNextUpdate) {
  EnemyEntity* enemy = enemyAt(20.0f, kFloorTop);
  hit(enemy, 10.0);
  EXPECT_EQ(20, enemy->health);
  hit(enemy, 10.0);
  EXPECT_EQ(10, enemy->health);
  hit(enemy, 10.0);
  EXPECT_EQ(0, enemy->health);
  EXPECT_TRUE(world->isLive(enemy));
  EXPECT_EQ(0, particles());

  play(1);
  EXPECT_FALSE(world->isLive(enemy));
  EXPECT_EQ(kDropsPerEnemy, particles());
}

TEST_F(EnemyArena, DamageIsTruncatedToWholePoints) {
  EnemyEntity* first = enemyAt(20.0f, kFloorTop);
  EnemyEntity* second = enemyAt(25.0f, kFloorTop);
  hit(first, 5.0);
  hit(second, 0.5);
  EXPECT_EQ(25, first->health);
  EXPECT_EQ(29, second->health);
}

TEST_F(EnemyArena, BlowsOfOtherEnemiesAndOfTheBossDoNoHarm) {
  EnemyEntity* enemy = enemyAt(20.0f, kFloorTop);
  EnemyEntity* other = enemyAt(25.0f, kFloorTop);
  EnemyBossEntity* boss = new EnemyBossEntity(world.get());
  world->adopt(std::unique_ptr<Entity>(boss));
  hit(enemy, 50.0, other);
  hit(enemy, 100.0, boss);
  EXPECT_EQ(30, enemy->health);
}

TEST_F(EnemyArena, APlayerBlowKnocksTheEnemyAwayFromThePlayer) {
  EnemyEntity* right = enemyAt(20.0f, kFloorTop);
  hit(right, 1.0);
  EXPECT_GT(right->body->GetLinearVelocity().x, 0.0f);
  EXPECT_GT(right->body->GetLinearVelocity().y, 0.0f);
}

TEST_F(EnemyArena, ALeapAtANearPlayerStrikesItForFiftyPoints) {
  // Enemy and player fall side by side, the player's feet a metre above the enemy's, slightly
  // to its left: the strike strip above the enemy reaches the player.
  world->player().body()->SetTransform(b2Vec2(19.9f, 21.0f), 0.0f);
  EnemyEntity* enemy = enemyAt(20.0f, 20.0f);
  enemy->actionTimer = 1;
  srand(1);
  const int delay = rand() % 61 + 60;
  const double strength = (rand() % 10) / 10.0 + 1.0;
  srand(1);

  play(1);
  EXPECT_DOUBLE_EQ(9950.0, world->player().health());
  EXPECT_EQ(delay, enemy->actionTimer);
  const float expectedSpeed = static_cast<float>(-0.8 * strength) / enemy->body->GetMass();
  EXPECT_NEAR(expectedSpeed, enemy->body->GetLinearVelocity().x, 1e-4);
}

TEST_F(EnemyArena, ALeapFarFromThePlayerGoesARandomWayWithoutStriking) {
  EnemyEntity* enemy = enemyAt(20.0f, kFloorTop);
  enemy->actionTimer = 1;
  srand(1);
  const int delay = rand() % 61 + 60;
  const bool right = rand() % 2 == 1;
  const double strength = (rand() % 10) / 10.0 + 1.0;
  srand(1);

  play(1);
  EXPECT_DOUBLE_EQ(10000.0, world->player().health());
  EXPECT_EQ(delay, enemy->actionTimer);
  const float expectedSpeed =
      static_cast<float>((right ? 0.8 : -0.8) * strength) / enemy->body->GetMass();
  EXPECT_NEAR(expectedSpeed, enemy->body->GetLinearVelocity().x, 1e-4);
}

TEST_F(EnemyArena, TheFirstLeapComesAfterOneHundredTwentyFrames) {
  EnemyEntity* enemy = enemyAt(20.0f, kFloorTop);
  play(119);
  EXPECT_NEAR(20.0f, enemy->body->GetPosition().x, 1e-3);
  play(1);
  EXPECT_GE(enemy->actionTimer, 60);
  EXPECT_NE(0.0f, enemy->body->GetLinearVelocity().x);
}

TEST_F(EnemyArena, LandingOnGroundStrikesUpwardOnce) {
  // The player falls a metre above the enemy: the enemy's landing strikes it and knocks it
  // aside; resting on the ground afterwards strikes no more.
  EnemyEntity* enemy = enemyAt(20.0f, kFloorTop + 3.0f);
  world->player().body()->SetTransform(b2Vec2(20.0f, kFloorTop + 4.0f), 0.0f);
  EXPECT_DOUBLE_EQ(-5.0, playUntilPlayerHurt(30));
  EXPECT_NEAR(kFloorTop, enemy->body->GetPosition().y, 0.05);
  EXPECT_DOUBLE_EQ(0.0, playUntilPlayerHurt(60));
}

TEST_F(EnemyArena, FallingOutOfTheLevelEndsTheEnemyWithoutLiquid) {
  EnemyEntity* enemy = enemyAt(200.0f, kFloorTop);  // beyond the floor's right end
  play(60);
  EXPECT_FALSE(world->isLive(enemy));
  EXPECT_EQ(nullptr, enemy->body);
  EXPECT_EQ(0, particles());
}

TEST_F(EnemyArena, AFallenEnemyIsNoLongerUpdatedDrawnOrHit) {
  EnemyEntity* enemy = enemyAt(8.0f, kFloorTop);
  play(2);
  const SDL_Color enemyColour = TestAssets::colourOf("enemy");
  EXPECT_TRUE(sameColour(enemyColour, pictureAboveFeet(8.0f, kFloorTop)));

  for (int blow = 0; blow < 3; ++blow) hit(enemy, 10.0);
  play(1);
  const int32_t timer = enemy->actionTimer;
  play(5);
  EXPECT_EQ(timer, enemy->actionTimer);
  EXPECT_FALSE(sameColour(enemyColour, pictureAboveFeet(8.0f, kFloorTop)));

  const b2AABB where = areaBox(8.0f, kFloorTop - 1.0f, 10.0f, kFloorTop + 1.0f);
  HitMessage blow{&world->player(), 10.0, 1.0};
  world->sendToArea(where, blow);
  EXPECT_EQ(0, enemy->health);
}

}  // namespace
