// The game's start-up loading, from "Loading all assets..." to "All assets loaded.", of the real
// assets on the software renderer: the pictures and sounds decoded on worker threads, and one
// after another on the main thread as the game once did, taking turns in the same run. Reports
// each way's median time and its median processor time over all threads, in milliseconds, and
// the ratio of the two times. Processor time over time is the number of cores a way kept busy:
// on a machine shared with other work it shows how much of the machine the loading got.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <ctime>
#include <string>

#include "bench_runtime.h"
#include "media/asset_registry.h"

namespace {

double processorMs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The times of one way of loading.
class LoadingTimes {
 public:
  explicit LoadingTimes(AssetRegistry::Decoding decoding) : decoding_(decoding) {}

  // Loads every asset into a registry of its own, freed afterwards, and times the loading.
  void load() {
    // The memory the last load freed goes back to the system, so that each load, like the
    // game's one loading, writes its pictures and samples into memory it has not touched yet.
    malloc_trim(0);
    AssetRegistry registry;
    const double processorStart = processorMs();
    wall_.start();
    registry.loadAll(decoding_);
    wall_.stop();
    processor_.add(processorMs() - processorStart);
  }

  double medianMs() { return wall_.medianMs(); }

  void report(benchmark::State& state, const std::string& name) {
    state.counters[name + "_ms"] = wall_.medianMs();
    state.counters[name + "_cpu_ms"] = processor_.medianMs();
  }

 private:
  AssetRegistry::Decoding decoding_;
  FrameTimes wall_;
  FrameTimes processor_;
};

void BM_LoadAllAssets(benchmark::State& state) {
  startBenchRuntime();
  LoadingTimes oneAfterAnother(AssetRegistry::Decoding::kOneAfterAnother);
  LoadingTimes parallel(AssetRegistry::Decoding::kParallel);
  bool parallelFirst = false;
  for (auto _ : state) {
    // Taking turns at going first spreads whatever the machine does meanwhile over both.
    parallelFirst = !parallelFirst;
    if (parallelFirst) parallel.load();
    oneAfterAnother.load();
    if (!parallelFirst) parallel.load();
  }
  oneAfterAnother.report(state, "one_after_another");
  parallel.report(state, "parallel");
  const double oneAfterAnotherMs = oneAfterAnother.medianMs();
  state.counters["parallel_share"] =
      oneAfterAnotherMs > 0 ? parallel.medianMs() / oneAfterAnotherMs : 0;
}

}  // namespace

BENCHMARK(BM_LoadAllAssets)->Iterations(8)->Unit(benchmark::kMillisecond);
