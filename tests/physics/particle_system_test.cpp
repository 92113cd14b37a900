// ParticleSystem bookkeeping: filling groups, lifetimes, deferred destruction, queries, limits.

#include "physics/particle_system.h"

#include <box2d/box2d.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <vector>

#include "physics/particle_query_callback.h"

namespace {

constexpr float kGameRadius = 0.08f;
constexpr float kTimeStep = 0.05f;

ParticleSystemDef GameDef() {
  ParticleSystemDef def;
  def.radius = kGameRadius;
  return def;
}

// A world without gravity or bodies, in which lone particles stay exactly where they are.
struct StillWorld {
  b2World world{b2Vec2(0.0f, 0.0f)};
  ParticleSystem system{&world, GameDef()};

  // One particle, far enough from the others not to touch them.
  int32_t AddLoneParticle(const b2Vec2& position, float lifetime = 0.0f) {
    b2CircleShape dot;
    dot.m_radius = 0.01f;
    ParticleGroupDef def;
    def.shape = &dot;
    def.position = position;
    def.lifetime = lifetime;
    return system.CreateParticleGroup(def);
  }

  void Step(int steps) {
    for (int i = 0; i < steps; ++i) {
      world.Step(kTimeStep, 8, 3);
      system.Step(kTimeStep, 1);
    }
  }
};

class Collector : public ParticleQueryCallback {
 public:
  bool ReportParticle(const ParticleSystem*, int32_t index) override {
    indices.push_back(index);
    return stopAfter <= 0 || static_cast<int32_t>(indices.size()) < stopAfter;
  }
  std::vector<int32_t> indices;
  int32_t stopAfter = 0;
};

// Drinks every particle it is shown, as the player does.
class Drinker : public ParticleQueryCallback {
 public:
  explicit Drinker(ParticleSystem* system) : system_(system) {}
  bool ReportParticle(const ParticleSystem*, int32_t index) override {
    system_->DestroyParticle(index);
    ++drunk;
    return true;
  }
  int drunk = 0;

 private:
  ParticleSystem* system_;
};

b2AABB Box(float x1, float y1, float x2, float y2) {
  b2AABB box;
  box.lowerBound.Set(x1, y1);
  box.upperBound.Set(x2, y2);
  return box;
}

TEST(ParticleSystemDefaults, AreTheLibrarySettings) {
  const ParticleSystemDef def;
  EXPECT_EQ(def.radius, 1.0f);
  EXPECT_EQ(def.density, 1.0f);
  EXPECT_EQ(def.gravityScale, 1.0f);
  EXPECT_EQ(def.maxCount, 0);
  EXPECT_EQ(def.pressureStrength, 0.05f);
  EXPECT_EQ(def.dampingStrength, 1.0f);
  EXPECT_EQ(def.viscousStrength, 0.25f);
  EXPECT_TRUE(def.destroyByAge);
  EXPECT_EQ(def.lifetimeGranularity, 1.0f / 60.0f);
  EXPECT_EQ(def.workerCount, ParticleSystemDef::kWorkersBySize);
  EXPECT_EQ(kViscousParticle, 32u);
  EXPECT_EQ(kWallParticle, 4u);
  EXPECT_EQ(ParticleGroupDef().flags, kWaterParticle);
}

TEST(ParticleSystemGetDef, KeepsTheSettings) {
  StillWorld w;
  EXPECT_EQ(w.system.GetDef().radius, kGameRadius);
  EXPECT_EQ(w.system.GetDef().viscousStrength, 0.25f);
}

// A dying foe's burst: viscous liquid for 20 s in a circle of the given centre and radius.
int32_t Burst(ParticleSystem* system, const b2Vec2& centre, float radius, const b2Vec2& at) {
  b2CircleShape circle;
  circle.m_p = centre;
  circle.m_radius = radius;
  ParticleGroupDef def;
  def.flags = kViscousParticle;
  def.shape = &circle;
  def.position = at;
  def.lifetime = 20.0f;
  return system->CreateParticleGroup(def);
}

TEST(ParticleGroupFill, EnemyBlobMakesEighteenParticlesInsideItsCircle) {
  StillWorld w;
  EXPECT_EQ(Burst(&w.system, b2Vec2(1.0f, 0.3f), 0.3f, b2Vec2(5.0f, 3.0f)), 18);
  ASSERT_EQ(w.system.GetParticleCount(), 18);
  for (int32_t i = 0; i < 18; ++i) {
    const b2Vec2 p = w.system.GetPositionBuffer()[i];
    EXPECT_LE((p - b2Vec2(6.0f, 3.3f)).Length(), 0.3f + 1e-5f) << i;
    EXPECT_EQ(w.system.GetFlagsBuffer()[i], kViscousParticle);
  }
}

TEST(ParticleGroupFill, BossBlobMakes2693Particles) {
  StillWorld w;
  EXPECT_EQ(Burst(&w.system, b2Vec2(0.0f, 0.0f), 3.5f, b2Vec2(7.0f, 4.5f)), 2693);
  EXPECT_EQ(w.system.GetParticleCount(), 2693);
}

TEST(ParticleGroupFill, LatticeRowsRunInYThenX) {
  StillWorld w;
  b2PolygonShape square;
  square.SetAsBox(0.3f, 0.3f);
  ParticleGroupDef def;
  def.shape = &square;
  const int32_t made = w.system.CreateParticleGroup(def);
  ASSERT_EQ(made, 25);  // lattice -0.24 .. 0.24 in steps of 0.12 on each axis
  const b2Vec2* p = w.system.GetPositionBuffer();
  EXPECT_NEAR(p[0].x, -0.24f, 1e-5f);
  EXPECT_NEAR(p[0].y, -0.24f, 1e-5f);
  EXPECT_NEAR(p[1].x, -0.12f, 1e-5f);
  EXPECT_NEAR(p[1].y, -0.24f, 1e-5f);
  EXPECT_NEAR(p[5].x, -0.24f, 1e-5f);
  EXPECT_NEAR(p[5].y, -0.12f, 1e-5f);
}

TEST(ParticleGroupFill, PolygonIsPlacedByPositionAndAngle) {
  StillWorld w;
  b2PolygonShape bar;
  bar.SetAsBox(1.0f, 0.2f);
  ParticleGroupDef def;
  def.shape = &bar;
  def.position.Set(3.0f, -2.0f);
  def.angle = b2_pi / 2.0f;
  const int32_t made = w.system.CreateParticleGroup(def);
  ASSERT_GT(made, 20);
  for (int32_t i = 0; i < made; ++i) {
    const b2Vec2 p = w.system.GetPositionBuffer()[i];
    EXPECT_LE(std::fabs(p.x - 3.0f), 0.2f + 1e-4f) << i;
    EXPECT_LE(std::fabs(p.y + 2.0f), 1.0f + 1e-4f) << i;
  }
}

TEST(ParticleGroupFill, ParticlesStartWithTheGroupsMotion) {
  StillWorld w;
  b2CircleShape circle;
  circle.m_radius = 0.5f;
  ParticleGroupDef def;
  def.shape = &circle;
  def.position.Set(1.0f, 1.0f);
  def.linearVelocity.Set(2.0f, -1.0f);
  def.angularVelocity = 3.0f;
  const int32_t made = w.system.CreateParticleGroup(def);
  ASSERT_GT(made, 0);
  for (int32_t i = 0; i < made; ++i) {
    const b2Vec2 r = w.system.GetPositionBuffer()[i] - def.position;
    const b2Vec2 v = w.system.GetVelocityBuffer()[i];
    EXPECT_NEAR(v.x, 2.0f - 3.0f * r.y, 1e-5f);
    EXPECT_NEAR(v.y, -1.0f + 3.0f * r.x, 1e-5f);
  }
}

TEST(ParticleGroupFill, EdgeAndChainAreStrokedAtTheLatticeSpacing) {
  StillWorld w;
  b2EdgeShape edge;
  edge.SetTwoSided(b2Vec2(0.0f, 0.0f), b2Vec2(1.25f, 0.0f));
  ParticleGroupDef def;
  def.shape = &edge;
  EXPECT_EQ(w.system.CreateParticleGroup(def), 11);  // 0, 0.12, ... 1.2

  b2ChainShape chain;
  const b2Vec2 corners[3] = {b2Vec2(0.0f, 5.0f), b2Vec2(0.65f, 5.0f), b2Vec2(0.65f, 5.65f)};
  chain.CreateChain(corners, 3, b2Vec2(-1.0f, 5.0f), b2Vec2(0.65f, 7.0f));
  def.shape = &chain;
  EXPECT_EQ(w.system.CreateParticleGroup(def), 11);  // the spacing runs on round the corner
}

TEST(ParticleGroupFill, GroupWithoutShapeIsAnError) {
  StillWorld w;
  EXPECT_THROW(w.system.CreateParticleGroup(ParticleGroupDef()), std::invalid_argument);
  EXPECT_EQ(w.system.GetParticleCount(), 0);
}

TEST(ParticleSystemDef, SettingsThatCannotWorkAreRejected) {
  b2World world(b2Vec2(0.0f, -10.0f));
  ParticleSystemDef def = GameDef();
  EXPECT_THROW(ParticleSystem(nullptr, def), std::invalid_argument);
  def.radius = 0.0f;
  EXPECT_THROW(ParticleSystem(&world, def), std::invalid_argument);
  def = GameDef();
  def.density = -1.0f;
  EXPECT_THROW(ParticleSystem(&world, def), std::invalid_argument);
  def = GameDef();
  def.lifetimeGranularity = 0.0f;
  EXPECT_THROW(ParticleSystem(&world, def), std::invalid_argument);
  def = GameDef();
  def.maxCount = -1;
  EXPECT_THROW(ParticleSystem(&world, def), std::invalid_argument);
  def = GameDef();
  def.workerCount = 2;
  EXPECT_THROW(ParticleSystem(&world, def), std::invalid_argument);
}

TEST(ParticleSystemStep, EmptyOrZeroTimeStepsChangeNothing) {
  StillWorld w;
  w.Step(3);
  EXPECT_EQ(w.system.GetParticleCount(), 0);
  w.AddLoneParticle(b2Vec2(0.0f, 0.0f), 0.001f);
  w.system.Step(0.0f, 1);
  EXPECT_EQ(w.system.GetParticleCount(), 1);
}

// A group made after any number of steps is removed during the 400th step after it.
class ParticleLifetime : public ::testing::TestWithParam<int> {};

TEST_P(ParticleLifetime, TwentySecondsVanishDuringThe400thStep) {
  StillWorld w;
  w.AddLoneParticle(b2Vec2(-5.0f, 0.0f));  // keeps the clock running before the group is made
  w.Step(GetParam());
  ASSERT_EQ(w.AddLoneParticle(b2Vec2(0.0f, 0.0f), 20.0f), 1);
  w.Step(399);
  EXPECT_EQ(w.system.GetParticleCount(), 2);
  w.Step(1);
  ASSERT_EQ(w.system.GetParticleCount(), 1);
  EXPECT_EQ(w.system.GetPositionBuffer()[0].x, -5.0f);  // the everlasting one stays
}

INSTANTIATE_TEST_SUITE_P(AfterAnyStep, ParticleLifetime,
                         ::testing::Values(0, 1, 2, 3, 7, 100, 333));

TEST(ParticleLifetimeClock, GroupsExpireInTheOrderTheyWereMade) {
  StillWorld w;
  w.AddLoneParticle(b2Vec2(0.0f, 0.0f), 20.0f);
  w.Step(10);
  w.AddLoneParticle(b2Vec2(1.0f, 0.0f), 20.0f);
  w.AddLoneParticle(b2Vec2(2.0f, 0.0f), 0.0f);
  w.Step(390);
  ASSERT_EQ(w.system.GetParticleCount(), 2);
  EXPECT_EQ(w.system.GetPositionBuffer()[0].x, 1.0f);
  EXPECT_EQ(w.system.GetPositionBuffer()[1].x, 2.0f);
  w.Step(9);
  EXPECT_EQ(w.system.GetParticleCount(), 2);
  w.Step(1);
  ASSERT_EQ(w.system.GetParticleCount(), 1);
  w.Step(2000);
  EXPECT_EQ(w.system.GetParticleCount(), 1);
}

TEST(ParticleLifetimeClock, ShortLifetimeStillExpires) {
  StillWorld w;
  w.AddLoneParticle(b2Vec2(0.0f, 0.0f), 0.001f);
  w.Step(1);
  EXPECT_EQ(w.system.GetParticleCount(), 0);
}

TEST(ParticleDestroy, OnlyMarksUntilTheNextStepThenSurvivorsKeepTheirOrder) {
  StillWorld w;
  for (int i = 0; i < 5; ++i) w.AddLoneParticle(b2Vec2(static_cast<float>(i), 0.0f));
  w.system.DestroyParticle(2);
  EXPECT_EQ(w.system.GetParticleCount(), 5);
  EXPECT_EQ(w.system.GetPositionBuffer()[2].x, 2.0f);
  EXPECT_TRUE(w.system.GetFlagsBuffer()[2] & kZombieParticle);

  Collector all;
  w.system.QueryAABB(&all, Box(-1.0f, -1.0f, 10.0f, 1.0f));
  EXPECT_EQ(all.indices, (std::vector<int32_t>{0, 1, 2, 3, 4}));

  w.Step(1);
  ASSERT_EQ(w.system.GetParticleCount(), 4);
  const float expected[4] = {0.0f, 1.0f, 3.0f, 4.0f};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(w.system.GetPositionBuffer()[i].x, expected[i]);
}

TEST(ParticleDestroy, OutOfRangeIndexIsAnError) {
  StillWorld w;
  w.AddLoneParticle(b2Vec2(0.0f, 0.0f));
  EXPECT_THROW(w.system.DestroyParticle(-1), std::out_of_range);
  EXPECT_THROW(w.system.DestroyParticle(1), std::out_of_range);
  w.Step(1);
  EXPECT_EQ(w.system.GetParticleCount(), 1);
}

TEST(ParticleQuery, DrinkingInsideTheCallbackIsSafeAndCountsOnce) {
  StillWorld w;
  for (int i = 0; i < 6; ++i) w.AddLoneParticle(b2Vec2(static_cast<float>(i), 0.0f));
  Drinker drinker(&w.system);
  w.system.QueryAABB(&drinker, Box(1.5f, -1.0f, 4.5f, 1.0f));
  EXPECT_EQ(drinker.drunk, 3);
  EXPECT_EQ(w.system.GetParticleCount(), 6);
  w.Step(1);
  ASSERT_EQ(w.system.GetParticleCount(), 3);
  EXPECT_EQ(w.system.GetPositionBuffer()[2].x, 5.0f);
  Drinker again(&w.system);
  w.system.QueryAABB(&again, Box(1.5f, -1.0f, 4.5f, 1.0f));
  EXPECT_EQ(again.drunk, 0);
}

TEST(ParticleQuery, ReportsOnlyParticlesStrictlyInside) {
  StillWorld w;
  w.AddLoneParticle(b2Vec2(1.0f, 0.0f));
  w.AddLoneParticle(b2Vec2(2.0f, 0.5f));
  w.AddLoneParticle(b2Vec2(3.0f, 0.0f));
  Collector found;
  w.system.QueryAABB(&found, Box(1.0f, -1.0f, 3.5f, 0.5f));  // the first two lie on its edges
  EXPECT_EQ(found.indices, (std::vector<int32_t>{2}));
}

TEST(ParticleQuery, StopsWhenTheCallbackSaysSo) {
  StillWorld w;
  for (int i = 0; i < 5; ++i) w.AddLoneParticle(b2Vec2(static_cast<float>(i), 0.0f));
  Collector first;
  first.stopAfter = 2;
  w.system.QueryAABB(&first, Box(-1.0f, -1.0f, 10.0f, 1.0f));
  EXPECT_EQ(first.indices.size(), 2u);
}

TEST(ParticleQuery, FindsANewGroupAtOnceAndMovedParticlesWhereTheyAre) {
  b2World world(b2Vec2(0.0f, -10.0f));
  ParticleSystem system(&world, GameDef());
  const int32_t made = Burst(&system, b2Vec2(0.0f, 0.0f), 0.3f, b2Vec2(0.0f, 10.0f));
  Collector atOnce;
  system.QueryAABB(&atOnce, Box(-1.0f, 9.0f, 1.0f, 11.0f));
  EXPECT_EQ(static_cast<int32_t>(atOnce.indices.size()), made);

  for (int i = 0; i < 20; ++i) {
    world.Step(kTimeStep, 8, 3);
    system.Step(kTimeStep, 1);
  }
  Collector above;
  system.QueryAABB(&above, Box(-1.0f, 9.0f, 1.0f, 11.0f));
  EXPECT_TRUE(above.indices.empty());
  Collector fallen;
  system.QueryAABB(&fallen, Box(-5.0f, -5.0f, 5.0f, 9.0f));
  EXPECT_EQ(static_cast<int32_t>(fallen.indices.size()), made);
}

TEST(ParticleMaxCount, OldestGiveWayWhenDestroyByAge) {
  b2World world(b2Vec2(0.0f, 0.0f));
  ParticleSystemDef def = GameDef();
  def.maxCount = 10;
  ParticleSystem system(&world, def);
  EXPECT_EQ(Burst(&system, b2Vec2(0.0f, 0.0f), 0.3f, b2Vec2(0.0f, 0.0f)), 10);
  EXPECT_EQ(Burst(&system, b2Vec2(0.0f, 0.0f), 0.3f, b2Vec2(5.0f, 0.0f)), 10);
  system.Step(kTimeStep, 1);
  ASSERT_EQ(system.GetParticleCount(), 10);
  for (int32_t i = 0; i < 10; ++i) EXPECT_GT(system.GetPositionBuffer()[i].x, 4.0f);
}

TEST(ParticleMaxCount, NewParticlesAreRefusedWithoutDestroyByAge) {
  b2World world(b2Vec2(0.0f, 0.0f));
  ParticleSystemDef def = GameDef();
  def.maxCount = 12;
  def.destroyByAge = false;
  ParticleSystem system(&world, def);
  EXPECT_EQ(Burst(&system, b2Vec2(0.0f, 0.0f), 0.3f, b2Vec2(0.0f, 0.0f)), 12);
  EXPECT_EQ(Burst(&system, b2Vec2(0.0f, 0.0f), 0.3f, b2Vec2(0.0f, 0.0f)), 0);
  EXPECT_EQ(system.GetParticleCount(), 12);
}

TEST(ParticleWall, WallParticlesStayPut) {
  b2World world(b2Vec2(0.0f, -10.0f));
  ParticleSystem system(&world, GameDef());
  b2PolygonShape slab;
  slab.SetAsBox(1.0f, 0.1f);
  ParticleGroupDef wall;
  wall.flags = kWallParticle;
  wall.shape = &slab;
  const int32_t walls = system.CreateParticleGroup(wall);
  const std::vector<b2Vec2> before(system.GetPositionBuffer(), system.GetPositionBuffer() + walls);
  for (int i = 0; i < 20; ++i) {
    world.Step(kTimeStep, 8, 3);
    system.Step(kTimeStep, 1);
  }
  for (int32_t i = 0; i < walls; ++i) {
    EXPECT_EQ(system.GetPositionBuffer()[i].x, before[i].x);
    EXPECT_EQ(system.GetPositionBuffer()[i].y, before[i].y);
  }
}

}  // namespace
