#pragma once

#include <cstdint>

// Decides, step by step, whether a large liquid shares its work with the worker thread, from how
// long recent steps took each way. On an idle machine sharing is faster; while other programs keep
// the cores busy the worker is often taken off its core in the middle of a job, and the step is
// faster alone. Every so often a step runs the other way, so that both figures stay current.
// The choice never changes the results, only how fast they come.
class WorkerSchedule {
 public:
  // Whether the coming step should share its work.
  bool ShareNextStep();
  // Reports how long a step took (s) and how many particles it moved.
  void Record(bool shared, double seconds, int32_t particles);

 private:
  // Seconds per particle of a recent step each way; negative until one was measured.
  double sharedCost_ = -1.0;
  double aloneCost_ = -1.0;
  int32_t stepsSinceProbe_ = 0;
  bool warmedUp_ = false;  // whether the first step, which counts for neither way, is past
};
