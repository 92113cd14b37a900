// The frame pacer on the system's clock, with nothing else in the frame: how many steps it
// lets through per second (60 is the goal) and how late each wake-up comes, on this machine's
// sleep and load.

#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>

#include "app/frame_pacer.h"

namespace {

constexpr int kPacedSteps = 300;  // 5 s at 60 per second

double monotonicSeconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void BM_PacedSteps(benchmark::State& state) {
  for (auto _ : state) {
    FramePacer pacer;
    // The first steps measure the display and go out at once; the schedule follows.
    for (int step = 0; step < kPacedSteps / 4; ++step) pacer.afterPresent();
    const double start = monotonicSeconds();
    double worstGap = 0.0;
    double previous = start;
    for (int step = 0; step < kPacedSteps; ++step) {
      pacer.afterPresent();
      const double now = monotonicSeconds();
      worstGap = std::max(worstGap, now - previous);
      previous = now;
    }
    state.counters["steps_per_s"] = kPacedSteps / (previous - start);
    state.counters["longest_step_ms"] = worstGap * 1000.0;
  }
}
BENCHMARK(BM_PacedSteps)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
