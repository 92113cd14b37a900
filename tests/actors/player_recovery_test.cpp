#include <box2d/box2d.h>
#include <gtest/gtest.h>

#include "actors/player_entity.h"
#include "actors/player_test_arena.h"
#include "physics/particle_group_def.h"
#include "physics/particle_system.h"
#include "world/world_container.h"

namespace {

using PlayerFall = PlayerArena;

constexpr int kFallFrames = 100;

TEST_F(PlayerFall, FallingOutOfTheLevelCostsTwoHundredAndStartsAgainAtTheRespawnPoint) {
  world->setRespawnPoint(b2Vec2(5.0f, 2.0f));
  placeHero(-20.0f, 0.0f);
  int frames = 0;
  while (player->health() == 10000.0 && frames++ < kFallFrames) play();
  EXPECT_DOUBLE_EQ(9800.0, player->health());
  EXPECT_EQ(world->respawnPoint(), player->body()->GetPosition());
  play(40);
  EXPECT_DOUBLE_EQ(9800.0, player->health()) << "one fall, one penalty";
  EXPECT_FALSE(player->airborne());
}

class PlayerDrinkTest : public PlayerArena {
 protected:
  // A small blob of liquid centred on (x, y); returns the number of drops in it.
  int32_t pourDrops(float x, float y) {
    b2CircleShape blob;
    blob.m_radius = 0.15f;
    ParticleGroupDef def;
    def.flags = kViscousParticle;
    def.shape = &blob;
    def.position.Set(x, y);
    return world->liquid().CreateParticleGroup(def);
  }
};

TEST_F(PlayerDrinkTest, EachDropInReachHealsFiveOnceAndIsGone) {
  const int32_t drops = pourDrops(heroCentreX(), 0.6f);
  ASSERT_GT(drops, 1);
  play();
  EXPECT_DOUBLE_EQ(10000.0 + 5.0 * drops, player->health());
  play(3);
  EXPECT_EQ(0, world->liquid().GetParticleCount());
  EXPECT_DOUBLE_EQ(10000.0 + 5.0 * drops, player->health());
}

TEST_F(PlayerDrinkTest, DropsOutOfReachStay) {
  const int32_t drops = pourDrops(heroCentreX() + 2.0f, 0.6f);
  play(3);
  EXPECT_EQ(drops, world->liquid().GetParticleCount());
  EXPECT_DOUBLE_EQ(10000.0, player->health());
}

}  // namespace
