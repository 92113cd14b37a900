// The game's start-up loading, from "Loading all assets..." to "All assets loaded.", of the real
// assets on the software renderer: the pictures and sounds decoded on worker threads, and one
// after another on the main thread as the game once did, alternately in the same run. Reports
// each way's median in milliseconds and the ratio of the two.

#include <benchmark/benchmark.h>

#include "bench_runtime.h"
#include "media/asset_registry.h"

namespace {

// Loads every asset into a registry of its own, freed afterwards, and times the loading.
void timeLoading(AssetRegistry::Decoding decoding, FrameTimes& times) {
  AssetRegistry registry;
  times.start();
  registry.loadAll(decoding);
  times.stop();
}

void BM_LoadAllAssets(benchmark::State& state) {
  startBenchRuntime();
  FrameTimes oneAfterAnother;
  FrameTimes parallel;
  bool parallelFirst = false;
  for (auto _ : state) {
    // Taking turns at going first spreads whatever the machine does meanwhile over both.
    parallelFirst = !parallelFirst;
    if (parallelFirst) timeLoading(AssetRegistry::Decoding::Parallel, parallel);
    timeLoading(AssetRegistry::Decoding::OneAfterAnother, oneAfterAnother);
    if (!parallelFirst) timeLoading(AssetRegistry::Decoding::Parallel, parallel);
  }
  const double oneAfterAnotherMs = oneAfterAnother.medianMs();
  const double parallelMs = parallel.medianMs();
  state.counters["one_after_another_ms"] = oneAfterAnotherMs;
  state.counters["parallel_ms"] = parallelMs;
  state.counters["parallel_share"] = oneAfterAnotherMs > 0 ? parallelMs / oneAfterAnotherMs : 0;
}

}  // namespace

BENCHMARK(BM_LoadAllAssets)->Iterations(8)->Unit(benchmark::kMillisecond);
