#include "app/frame_pacer.h"

namespace {

constexpr double kFrameSeconds = 1.0 / 60.0;
// A vsynced 60 Hz present can come back a little early; that must not cost a refresh.
constexpr double kToleranceSeconds = 0.001;
// Sleeping is coarse; the last stretch is spun.
constexpr double kSpinSeconds = 0.001;

}  // namespace

FramePacer::FramePacer() : ticksPerSecond_(static_cast<double>(SDL_GetPerformanceFrequency())) {}

FramePacer& FramePacer::instance() {
  static FramePacer pacer;
  return pacer;
}

double FramePacer::secondsSince(Uint64 counter) const {
  return static_cast<double>(SDL_GetPerformanceCounter() - counter) / ticksPerSecond_;
}

void FramePacer::afterPresent() {
  if (!enabled_) return;
  if (lastPresent_ != 0) {
    const double deadline = kFrameSeconds - kToleranceSeconds;
    double remaining = deadline - secondsSince(lastPresent_);
    if (remaining > kSpinSeconds)
      SDL_Delay(static_cast<Uint32>((remaining - kSpinSeconds) * 1000.0));
    while (secondsSince(lastPresent_) < deadline) {
    }
  }
  lastPresent_ = SDL_GetPerformanceCounter();
}
