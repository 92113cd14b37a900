// How the liquid moves: it lands without tunnelling, spreads, carries and brakes bodies, and
// repeats itself exactly.

#include <box2d/box2d.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "physics/particle_system.h"

namespace {

constexpr float kTimeStep = 0.05f;

struct LiquidWorld {
  explicit LiquidWorld(int32_t workerCount = ParticleSystemDef::kWorkersBySize) {
    ParticleSystemDef def;
    def.radius = 0.08f;
    def.workerCount = workerCount;
    system = std::make_unique<ParticleSystem>(&world, def);
  }
  ~LiquidWorld() { system.reset(); }  // the system goes before its world

  b2Body* AddStaticBox(float halfWidth, float halfHeight, const b2Vec2& center) {
    b2BodyDef def;
    b2Body* body = world.CreateBody(&def);
    b2PolygonShape box;
    box.SetAsBox(halfWidth, halfHeight, center, 0.0f);
    body->CreateFixture(&box, 0.0f);
    return body;
  }

  int32_t AddBlob(float radius, const b2Vec2& position) {
    b2CircleShape circle;
    circle.m_radius = radius;
    ParticleGroupDef def;
    def.flags = kViscousParticle;
    def.shape = &circle;
    def.position = position;
    return system->CreateParticleGroup(def);
  }

  void Step(int steps) {
    for (int i = 0; i < steps; ++i) {
      world.Step(kTimeStep, 8, 3);
      system->Step(kTimeStep, 1);
    }
  }

  std::vector<b2Vec2> Positions() const {
    return std::vector<b2Vec2>(system->GetPositionBuffer(),
                               system->GetPositionBuffer() + system->GetParticleCount());
  }

  b2World world{b2Vec2(0.0f, -10.0f)};
  std::unique_ptr<ParticleSystem> system;
};

struct Extent {
  float width;
  float height;
};

Extent ExtentOf(const std::vector<b2Vec2>& points) {
  float minX = points[0].x, maxX = points[0].x, minY = points[0].y, maxY = points[0].y;
  for (const b2Vec2& p : points) {
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  return {maxX - minX, maxY - minY};
}

TEST(LiquidLanding, BlobOnAThinBoxNeitherEntersNorPassesIt) {
  LiquidWorld w;
  w.AddStaticBox(6.0f, 0.04f, b2Vec2(0.0f, 0.0f));  // thinner than a particle
  const int32_t made = w.AddBlob(1.0f, b2Vec2(0.0f, 4.0f));
  int inside = 0;
  for (int step = 0; step < 200; ++step) {
    w.Step(1);
    for (const b2Vec2& p : w.Positions()) {
      if (std::fabs(p.x) < 6.0f && std::fabs(p.y) < 0.04f) ++inside;
    }
  }
  EXPECT_EQ(inside, 0);
  int onTop = 0;
  for (const b2Vec2& p : w.Positions()) {
    if (std::fabs(p.x) < 6.0f && p.y > 0.04f && p.y < 1.0f) ++onTop;
  }
  EXPECT_GT(onTop, made * 9 / 10);
}

TEST(LiquidLanding, LiquidRestsOnCirclesEdgesAndChains) {
  LiquidWorld w;
  b2BodyDef def;
  b2Body* ground = w.world.CreateBody(&def);
  b2CircleShape hill;
  hill.m_p.Set(-40.0f, -10.0f);
  hill.m_radius = 10.0f;
  ground->CreateFixture(&hill, 0.0f);
  b2EdgeShape edge;
  edge.SetTwoSided(b2Vec2(-5.0f, 0.0f), b2Vec2(5.0f, 0.0f));
  ground->CreateFixture(&edge, 0.0f);
  b2ChainShape chain;  // one-sided: solid from above when laid right to left
  const b2Vec2 links[4] = {b2Vec2(25.0f, 0.0f), b2Vec2(20.0f, 0.0f), b2Vec2(15.0f, 0.0f),
                           b2Vec2(10.0f, 0.0f)};
  chain.CreateChain(links, 4, b2Vec2(30.0f, 0.0f), b2Vec2(5.0f, 0.0f));
  ground->CreateFixture(&chain, 0.0f);

  w.AddBlob(0.5f, b2Vec2(-40.0f, 2.0f));
  w.AddBlob(0.5f, b2Vec2(0.0f, 2.0f));
  w.AddBlob(0.5f, b2Vec2(17.5f, 2.0f));
  w.Step(120);
  for (const b2Vec2& p : w.Positions()) {
    if (p.x < -20.0f) {
      EXPECT_GT((p - hill.m_p).Length(), hill.m_radius) << p.x << " " << p.y;
    } else {
      EXPECT_GT(p.y, 0.0f) << p.x << " " << p.y;  // neither blob reaches an end of its line
    }
  }
}

TEST(LiquidSpreading, RestingBlobFlattens) {
  LiquidWorld w;
  w.AddStaticBox(20.0f, 0.5f, b2Vec2(0.0f, -0.5f));
  w.AddBlob(1.0f, b2Vec2(0.0f, 1.05f));
  w.Step(10);  // landed
  const Extent landed = ExtentOf(w.Positions());
  w.Step(190);
  const Extent later = ExtentOf(w.Positions());
  EXPECT_GT(later.width, 1.5f * landed.width);
  EXPECT_LT(later.height, 0.5f * landed.height);
}

// A falling particle stopped by the ground pushes on with the speed the ground took from it,
// which carries the liquid along the ledge and over its ends rather than letting it pile up.
TEST(LiquidSpreading, BossBurstOnALedgePoursOverBothEnds) {
  LiquidWorld w;
  w.AddStaticBox(10.0f, 0.5f, b2Vec2(10.0f, 0.0f));
  w.AddBlob(3.5f, b2Vec2(10.0f, 5.0f));
  w.Step(60);
  for (const b2Vec2& p : w.Positions()) ASSERT_GT(p.y, 0.5f) << p.x;  // still on the ledge
  w.Step(40);
  int fallenLeft = 0;
  int fallenRight = 0;
  for (const b2Vec2& p : w.Positions()) {
    if (p.y < -0.5f) ++(p.x < 10.0f ? fallenLeft : fallenRight);
  }
  EXPECT_GT(fallenLeft, 45);
  EXPECT_GT(fallenRight, 45);
}

struct PoolAndBox {
  explicit PoolAndBox(bool withLiquid, int32_t workerCount = ParticleSystemDef::kWorkersBySize)
      : w(workerCount) {
    w.AddStaticBox(3.0f, 0.25f, b2Vec2(0.0f, -0.25f));  // floor
    w.AddStaticBox(0.25f, 2.0f, b2Vec2(-3.25f, 1.5f));  // walls
    w.AddStaticBox(0.25f, 2.0f, b2Vec2(3.25f, 1.5f));
    if (withLiquid) {
      b2PolygonShape water;
      water.SetAsBox(2.9f, 0.6f, b2Vec2(0.0f, 0.65f), 0.0f);
      ParticleGroupDef def;
      def.flags = kViscousParticle;
      def.shape = &water;
      w.system->CreateParticleGroup(def);
      w.Step(40);  // let the pool settle
    }
    b2BodyDef def;
    def.type = b2_dynamicBody;
    def.position.Set(0.0f, 3.0f);
    crate = w.world.CreateBody(&def);
    b2PolygonShape box;
    box.SetAsBox(0.4f, 0.4f);
    crate->CreateFixture(&box, 0.5f);
  }
  LiquidWorld w;
  b2Body* crate;
};

float HighestParticle(const LiquidWorld& w) {
  float highest = -1e9f;
  for (const b2Vec2& p : w.Positions()) highest = std::max(highest, p.y);
  return highest;
}

TEST(LiquidBodies, CrateDroppedIntoAPoolIsPushedAndSlowed) {
  PoolAndBox pool(true);
  PoolAndBox dry(false);
  const float restLevel = HighestParticle(pool.w);
  float brakedBy = 0.0f;  // how far the wet crate fell behind the free-falling dry one (m/s)
  float risingAt = 0.0f;  // fastest upward speed of the wet crate (m/s)
  float splash = restLevel;
  for (int step = 0; step < 60; ++step) {
    pool.w.Step(1);
    dry.w.Step(1);
    if (dry.crate->GetPosition().y > 0.45f) {
      brakedBy =
          std::max(brakedBy, pool.crate->GetLinearVelocity().y - dry.crate->GetLinearVelocity().y);
    }
    risingAt = std::max(risingAt, pool.crate->GetLinearVelocity().y);
    splash = std::max(splash, HighestParticle(pool.w));
  }
  EXPECT_GT(brakedBy, 2.0f);
  EXPECT_GT(risingAt, 0.5f);  // the liquid pushed it back up
  EXPECT_GT(pool.crate->GetPosition().y, dry.crate->GetPosition().y + 0.1f);  // it floats
  EXPECT_GT(splash, restLevel + 0.05f);  // and the liquid it landed in was pushed aside
}

TEST(LiquidBodies, StaticBodiesAreNotMoved) {
  LiquidWorld w;
  b2Body* floor = w.AddStaticBox(3.0f, 0.25f, b2Vec2(0.0f, -0.25f));
  w.AddBlob(1.0f, b2Vec2(0.0f, 1.2f));
  w.Step(50);
  EXPECT_EQ(floor->GetPosition().x, 0.0f);
  EXPECT_EQ(floor->GetPosition().y, 0.0f);
  EXPECT_EQ(floor->GetLinearVelocity().y, 0.0f);
}

// Folds the bits of the values into hash (64-bit FNV-1a).
template <typename T>
void Fold(const T* values, size_t count, uint64_t* hash) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(values);
  for (size_t i = 0; i < count * sizeof(T); ++i) *hash = (*hash ^ bytes[i]) * 0x100000001b3u;
}

void FoldLiquid(const LiquidWorld& w, uint64_t* hash) {
  const int32_t count = w.system->GetParticleCount();
  Fold(&count, 1, hash);
  Fold(w.system->GetPositionBuffer(), count, hash);
  Fold(w.system->GetVelocityBuffer(), count, hash);
}

// Keeps every core busy while it lives, so that a liquid's worker thread is often off its core:
// the owner then runs the worker's jobs itself.
class BusyCores {
 public:
  BusyCores() {
    const unsigned cores = std::max(2u, std::thread::hardware_concurrency());
    for (unsigned i = 0; i < cores; ++i) {
      spinners_.emplace_back([this] {
        while (!stop_.load(std::memory_order_relaxed)) {
        }
      });
    }
  }
  ~BusyCores() {
    stop_ = true;
    for (std::thread& spinner : spinners_) spinner.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::vector<std::thread> spinners_;
};

// Every bit of the flow in one number: a blob dropped into a pool with a crate (a liquid of the
// game's size) and a drop large enough to solve its contacts in halves, each particle's position
// and velocity and the crate's pose at the end. Any change to how the liquid moves changes it;
// the threads it ran on must not.
uint64_t FlowChecksum(int32_t workerCount) {
  uint64_t hash = 0xcbf29ce484222325u;
  {
    PoolAndBox pool(true, workerCount);
    pool.w.AddBlob(0.7f, b2Vec2(1.0f, 4.0f));
    pool.w.Step(60);
    FoldLiquid(pool.w, &hash);
    Fold(&pool.crate->GetTransform(), 1, &hash);
  }
  LiquidWorld large(workerCount);
  large.AddStaticBox(20.0f, 0.5f, b2Vec2(0.0f, 0.0f));
  EXPECT_GT(large.AddBlob(6.5f, b2Vec2(0.0f, 7.5f)), 8192);
  large.Step(30);
  FoldLiquid(large, &hash);
  return hash;
}

// The flow as it stands; a change meant to move the liquid writes its new checksums here.
// MinGW-w64's sinf and cosf differ from glibc's in the last bit for some angles; Box2D turns the
// crate with them and the liquid flows round the crate, so the Windows build's flow, the same
// for every worker count, has a checksum of its own.
#ifdef _WIN32
constexpr uint64_t kFlowChecksum = 0x2fab8215c2ccff34u;
#else
constexpr uint64_t kFlowChecksum = 0xed18d2af474297dbu;
#endif

TEST(LiquidDeterminism, EveryWorkerCountGivesTheSameFlowToTheBit) {
  for (int32_t workers : {0, 1, ParticleSystemDef::kWorkersBySize}) {
    EXPECT_EQ(kFlowChecksum, FlowChecksum(workers)) << "with workerCount " << workers;
  }
  BusyCores busy;
  EXPECT_EQ(kFlowChecksum, FlowChecksum(1)) << "with one worker, every core busy";
}

}  // namespace
