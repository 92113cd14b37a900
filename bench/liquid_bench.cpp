// BM_LiquidBlob: a boss-sized blob of viscous liquid dropped on a 20 m ledge, run to the end of
// its 20 s life. One iteration runs the whole scenario; the counters tell how the liquid flowed
// and how long one step of liquid and rigid bodies together took.

#include <benchmark/benchmark.h>
#include <box2d/box2d.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "physics/particle_group_def.h"
#include "physics/particle_system.h"
#include "physics/particle_system_def.h"

namespace {

constexpr float kTimeStep = 0.05f;  // s, the game's fixed step
constexpr int kSteps = 400;
constexpr float kLedgeTop = 0.5f;  // m

struct LiquidBlobRun {
  int particles = 0;
  int aboveAt100 = 0;
  int aliveAt400 = 0;
};

int CountAbove(const ParticleSystem& system, float y) {
  const b2Vec2* positions = system.GetPositionBuffer();
  return static_cast<int>(std::count_if(positions, positions + system.GetParticleCount(),
                                        [y](const b2Vec2& p) { return p.y > y; }));
}

// Runs the scenario once, appending the time of steps 1-399 (ms) to stepMs.
LiquidBlobRun RunLiquidBlob(std::vector<double>* stepMs) {
  b2World world(b2Vec2(0.0f, -10.0f));
  b2BodyDef ledgeDef;
  b2Body* ledge = world.CreateBody(&ledgeDef);
  b2PolygonShape ledgeBox;
  ledgeBox.SetAsBox(10.0f, 0.5f, b2Vec2(10.0f, 0.0f), 0.0f);
  ledge->CreateFixture(&ledgeBox, 0.0f);

  LiquidBlobRun run;
  {
    ParticleSystemDef systemDef;
    systemDef.radius = 0.08f;
    ParticleSystem system(&world, systemDef);
    b2CircleShape blob;
    blob.m_radius = 3.5f;
    ParticleGroupDef groupDef;
    groupDef.flags = kViscousParticle;
    groupDef.shape = &blob;
    groupDef.position.Set(10.0f, 5.0f);
    groupDef.lifetime = 20.0f;
    run.particles = system.CreateParticleGroup(groupDef);

    for (int step = 1; step <= kSteps; ++step) {
      const auto start = std::chrono::steady_clock::now();
      world.Step(kTimeStep, 8, 3);
      system.Step(kTimeStep, 1);
      const auto stop = std::chrono::steady_clock::now();
      if (step < kSteps) {
        stepMs->push_back(std::chrono::duration<double, std::milli>(stop - start).count());
      }
      if (step == 100) run.aboveAt100 = CountAbove(system, kLedgeTop);
    }
    run.aliveAt400 = system.GetParticleCount();
  }
  return run;
}

void BM_LiquidBlob(benchmark::State& state) {
  std::vector<double> stepMs;
  LiquidBlobRun run;
  for (auto _ : state) run = RunLiquidBlob(&stepMs);
  std::nth_element(stepMs.begin(), stepMs.begin() + stepMs.size() / 2, stepMs.end());
  state.counters["particles"] = run.particles;
  state.counters["above_at_100"] = run.aboveAt100;
  state.counters["alive_at_400"] = run.aliveAt400;
  state.counters["step_ms"] = stepMs.empty() ? 0.0 : stepMs[stepMs.size() / 2];
}

}  // namespace

BENCHMARK(BM_LiquidBlob)->Unit(benchmark::kMillisecond);
