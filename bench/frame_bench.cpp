// Whole frames of play as the map screen runs them: input, world step, world render and the
// render pass into the window, on the software renderer with the real assets. Each reports
// frame_ms, the median cost of one frame in milliseconds, and step_ms, that of its world step.

#include <benchmark/benchmark.h>

#include "actors/enemy_boss_entity.h"
#include "actors/fixture_counter.h"
#include "actors/player_entity.h"
#include "app/input.h"
#include "app/screen_frames.h"
#include "arena/area_box.h"
#include "bench_runtime.h"
#include "physics/particle_system.h"
#include "world/world_container.h"

namespace {

constexpr float kDrinkBoxHalfWidth = 0.3f;  // m, either side of the hero's centre line
constexpr float kDrinkBoxBelow = 0.3f;      // m under the feet
constexpr float kDrinkBoxAbove = 1.5f;      // m over the feet

// Frames as the map screen plays them, timed whole and their world step apart: the step (the
// bodies, the liquid, the foes' minds) is the part the browser runs as wasm whole, while there
// the GPU draws what the software renderer draws here. The scenes never reach a stage's exit, so
// no change of stage is ever asked for.
struct FrameClock {
  FrameTimes frame;
  FrameTimes step;

  void play(WorldContainer& world) {
    frame.start();
    flipFrame();
    pollInput();
    step.start();
    world.step();
    step.stop();
    world.render();
    frame.stop();
  }

  void report(benchmark::State& state) {
    state.counters["frame_ms"] = frame.medianMs();
    state.counters["step_ms"] = step.medianMs();
  }
};

EnemyBossEntity* bossOf(WorldContainer& world) {
  return static_cast<EnemyBossEntity*>(world.ownedEntities().front().get());
}

// Fells the boss and steps the frame in which it bursts; returns where it burst.
b2Vec2 burstBoss(WorldContainer& world) {
  EnemyBossEntity* boss = bossOf(world);
  const b2Vec2 at = boss->body->GetPosition();
  boss->health = 0;
  FrameClock().play(world);
  return at;
}

// Times `frames` frames of `world` under `input`, then destroys the world.
void timeFrames(benchmark::State& state, WorldContainer* world, ScriptedInput& input) {
  setScriptedInput(&input);
  FrameClock clock;
  for (auto _ : state) clock.play(*world);
  clock.report(state);
  setScriptedInput(nullptr);
  delete world;
}

void BM_FrameStage1(benchmark::State& state) {
  startBenchRuntime();
  ScriptedInput walkRight;
  walkRight.hold(SDL_SCANCODE_D);
  timeFrames(state, new WorldContainer(1), walkRight);
}

void BM_FrameStage3Crowd(benchmark::State& state) {
  startBenchRuntime();
  ScriptedInput idle;
  timeFrames(state, new WorldContainer(3), idle);
}

void BM_FrameBossBurst(benchmark::State& state) {
  startBenchRuntime();
  ScriptedInput idle;
  WorldContainer* world = new WorldContainer(4);
  burstBoss(*world);
  timeFrames(state, world, idle);
}

// How many particles the hero would drink with its centre line at x and its feet at y.
size_t drinkableAt(WorldContainer& world, float x, float y) {
  FixtureCounter counter;
  world.queryArea(counter, areaBox(x - kDrinkBoxHalfWidth, y - kDrinkBoxBelow,
                                   x + kDrinkBoxHalfWidth, y + kDrinkBoxAbove));
  return counter.particleIndices.size();
}

// Puts the hero where the burst is densest; returns how many particles it will drink there.
size_t standInTheBurst(WorldContainer& world, b2Vec2 centre) {
  b2Vec2 best = centre;
  size_t most = 0;
  for (float dx = -3.0f; dx <= 3.0f; dx += 0.25f) {
    for (float dy = -3.0f; dy <= 2.0f; dy += 0.25f) {
      const size_t count = drinkableAt(world, centre.x + dx, centre.y + dy);
      if (count > most) {
        most = count;
        best.Set(centre.x + dx, centre.y + dy);
      }
    }
  }
  // The body's origin is a unit left of its centre line.
  world.player().body()->SetTransform(b2Vec2(best.x - 1.0f, best.y), 0.0f);
  return most;
}

void BM_FrameDrinkFeast(benchmark::State& state) {
  startBenchRuntime();
  ScriptedInput idle;
  setScriptedInput(&idle);
  FrameClock clock;
  size_t drunk = 0;
  for (auto _ : state) {
    state.PauseTiming();
    WorldContainer* world = new WorldContainer(4);
    drunk = standInTheBurst(*world, burstBoss(*world));
    state.ResumeTiming();
    clock.play(*world);
    state.PauseTiming();
    delete world;
    state.ResumeTiming();
  }
  clock.report(state);
  state.counters["drunk"] = static_cast<double>(drunk);
  setScriptedInput(nullptr);
}

}  // namespace

BENCHMARK(BM_FrameStage1)->Iterations(400)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameStage3Crowd)->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameBossBurst)->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameDrinkFeast)->Iterations(15)->Unit(benchmark::kMillisecond);
