#pragma once

// The game's runtime for benchmarks: SDL headless with the software renderer, the real assets
// of the repository loaded, frame pacing off; and the median of a run of timed frames.

#include <chrono>
#include <vector>

// Starts the runtime once per process.
void startBenchRuntime();

// Collects frame times and gives their median in milliseconds.
class FrameTimes {
 public:
  void start() { begun_ = std::chrono::steady_clock::now(); }
  void stop();
  // A time measured otherwise.
  void add(double ms) { ms_.push_back(ms); }
  double medianMs();

 private:
  std::chrono::steady_clock::time_point begun_;
  std::vector<double> ms_;
};
