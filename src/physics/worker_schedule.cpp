#include "physics/worker_schedule.h"

namespace {

constexpr int32_t kStepsBetweenProbes = 15;  // steps the faster way between two the other way
constexpr double kNewestShare = 0.25;        // weight of the newest step in a running figure

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

void WorkerSchedule::Record(bool shared, double seconds, int32_t particles) {
  if (particles <= 0) return;
  const double cost = seconds / particles;
  double& figure = shared ? sharedCost_ : aloneCost_;
  figure = figure < 0.0 ? cost : figure + kNewestShare * (cost - figure);
}
