#include "physics/worker_schedule.h"

#include <algorithm>

namespace {

constexpr int32_t kStepsBetweenProbes = 15;  // steps the faster way between two the other way
constexpr double kNewestShare = 0.25;        // weight of the newest step in a running figure
// A step counts at most this many times its way's running figure: one slow step, while another
// program held a core for a moment, turned the choice for several steps.
constexpr double kLargestRise = 1.5;

}  // namespace

bool WorkerSchedule::ShareNextStep() {
  if (sharedCost_ < 0.0) return true;
  if (aloneCost_ < 0.0) return false;
  const bool sharingFaster = sharedCost_ < aloneCost_;
  if (stepsSinceProbe_ >= kStepsBetweenProbes) {
    stepsSinceProbe_ = 0;
    return !sharingFaster;
  }
  ++stepsSinceProbe_;
  return sharingFaster;
}

// The first step of a large liquid pays for the first touch of its grown buffers and for the
// worker's start, whichever way it runs; taken for the cost of sharing, it kept a liquid from
// sharing for a third of its life.
void WorkerSchedule::Record(bool shared, double seconds, int32_t particles) {
  if (particles <= 0) return;
  if (!warmedUp_) {
    warmedUp_ = true;
    return;
  }
  const double cost = seconds / particles;
  double& figure = shared ? sharedCost_ : aloneCost_;
  figure = figure < 0.0 ? cost
                        : figure + kNewestShare * (std::min(cost, kLargestRise * figure) - figure);
}
