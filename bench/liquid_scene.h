#pragma once

// The liquid benchmarks' scenes, run on any liquid engine with the interface of today's: a blob of
// viscous particles dropped on a ledge.
//
// BM_LiquidBlob: a boss-sized blob (2693 particles) dropped on a 20 m ledge and run to the end of
// its 20 s life; the counters tell how much liquid stays on the ledge and how high it lies.
// BM_LiquidSpread/10k and /40k: larger blobs on an 80 m floor, without lifetime, for 10 s; the
// counters tell how wide and how high the liquid has spread.
// step_ms is the median time of one step of rigid bodies and liquid together.

#include <benchmark/benchmark.h>
#include <box2d/box2d.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace liquid_bench {

constexpr float kTimeStep = 0.05f;       // s, the game's fixed step
constexpr float kFloorTop = 0.5f;        // m
constexpr float kDropHeight = 1.0f;      // m from the floor to the blob's lowest point
constexpr float kBurstRadius = 3.5f;     // m, the boss's burst
constexpr float kBurstLifetime = 20.0f;  // s

// A blob dropped on a floor whose top is at kFloorTop.
struct Scene {
  float floorHalfWidth;  // m; the floor starts at x = 0
  float blobRadius;      // m
  float lifetime;        // s; 0: forever
  int steps;
  std::vector<int> sampledSteps;
};

// Where the liquid is after a step.
struct Sample {
  int above = 0;  // particles above the floor's top
  double meanY = 0.0;
  double width = 0.0;  // from the leftmost to the rightmost particle
};

struct SceneRun {
  int particles = 0;
  int aliveAtEnd = 0;
  std::vector<Sample> samples;  // one per sampled step
};

inline Sample SampleOf(const b2Vec2* positions, int count) {
  Sample sample;
  if (count == 0) return sample;
  float left = positions[0].x;
  float right = positions[0].x;
  double sumY = 0.0;
  for (int i = 0; i < count; ++i) {
    sample.above += positions[i].y > kFloorTop ? 1 : 0;
    sumY += positions[i].y;
    left = std::min(left, positions[i].x);
    right = std::max(right, positions[i].x);
  }
  sample.meanY = sumY / count;
  sample.width = right - left;
  return sample;
}

// Runs the scene once, appending the time of every step but the last (ms) to stepMs: in the
// blob's last step its particles expire.
template <typename Liquid>
SceneRun RunScene(const Scene& scene, std::vector<double>* stepMs) {
  b2World world(b2Vec2(0.0f, -10.0f));
  b2BodyDef floorDef;
  b2Body* floor = world.CreateBody(&floorDef);
  b2PolygonShape floorBox;
  floorBox.SetAsBox(scene.floorHalfWidth, kFloorTop, b2Vec2(scene.floorHalfWidth, 0.0f), 0.0f);
  floor->CreateFixture(&floorBox, 0.0f);

  SceneRun run;
  typename Liquid::SystemDef systemDef;
  systemDef.radius = 0.08f;
  typename Liquid::System system(&world, systemDef);
  b2CircleShape blob;
  blob.m_radius = scene.blobRadius;
  typename Liquid::GroupDef groupDef;
  groupDef.flags = Liquid::kViscous;
  groupDef.shape = &blob;
  groupDef.position.Set(scene.floorHalfWidth, kFloorTop + kDropHeight + scene.blobRadius);
  groupDef.lifetime = scene.lifetime;
  run.particles = system.CreateParticleGroup(groupDef);

  for (int step = 1; step <= scene.steps; ++step) {
    const auto start = std::chrono::steady_clock::now();
    world.Step(kTimeStep, 8, 3);
    system.Step(kTimeStep, 1);
    const auto stop = std::chrono::steady_clock::now();
    if (step < scene.steps) {
      stepMs->push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }
    if (std::count(scene.sampledSteps.begin(), scene.sampledSteps.end(), step) > 0) {
      run.samples.push_back(SampleOf(system.GetPositionBuffer(), system.GetParticleCount()));
    }
  }
  run.aliveAtEnd = system.GetParticleCount();
  return run;
}

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}

template <typename Liquid>
void BM_LiquidBlob(benchmark::State& state) {
  const Scene scene{10.0f, kBurstRadius, kBurstLifetime, 400, {20, 100, 399}};
  std::vector<double> stepMs;
  SceneRun run;
  for (auto _ : state) run = RunScene<Liquid>(scene, &stepMs);
  state.counters["particles"] = run.particles;
  const char* names[][2] = {{"above_at_20", "mean_y_at_20"},
                            {"above_at_100", "mean_y_at_100"},
                            {"above_at_399", "mean_y_at_399"}};
  for (size_t k = 0; k < run.samples.size(); ++k) {
    state.counters[names[k][0]] = run.samples[k].above;
    state.counters[names[k][1]] = run.samples[k].meanY;
  }
  state.counters["alive_at_400"] = run.aliveAtEnd;
  state.counters["step_ms"] = Median(stepMs);
}

template <typename Liquid>
void BM_LiquidSpread(benchmark::State& state, float blobRadius) {
  const Scene scene{40.0f, blobRadius, 0.0f, 200, {199}};
  std::vector<double> stepMs;
  SceneRun run;
  for (auto _ : state) run = RunScene<Liquid>(scene, &stepMs);
  state.counters["particles"] = run.particles;
  state.counters["width_at_199"] = run.samples[0].width;
  state.counters["mean_y_at_199"] = run.samples[0].meanY;
  state.counters["step_ms"] = Median(stepMs);
}

template <typename Liquid>
void RegisterLiquidBenchmarks(const std::string& suffix) {
  benchmark::RegisterBenchmark(("BM_LiquidBlob" + suffix).c_str(), BM_LiquidBlob<Liquid>)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(("BM_LiquidSpread/10k" + suffix).c_str(), BM_LiquidSpread<Liquid>,
                               6.7f)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(("BM_LiquidSpread/40k" + suffix).c_str(), BM_LiquidSpread<Liquid>,
                               13.4f)
      ->Unit(benchmark::kMillisecond);
}

}  // namespace liquid_bench
