#include "app/frame_pacer.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "app/display_clock.h"
#include "base/never_destroyed.h"

namespace {

constexpr double kFrameSeconds = 1.0 / 60.0;
// Drivers may take the first presents without waiting while they fill their queue.
constexpr int kWarmUpPresents = 4;
constexpr int kMeasuredIntervals = 30;
// A display's refreshes come back evenly: each measured interval lies this close to a whole
// number of refreshes, but for a few.
constexpr double kSteadyShare = 0.1;
constexpr int kMostOffBeatWhileMeasuring = kMeasuredIntervals / 10;
// Displays sold as 60 Hz run from 59.94 (0.1 % slow) to 60.05 Hz; the rest is room for the
// measurement's own jitter.
constexpr double kRateTolerance = 0.0015;
constexpr int kMostRefreshesPerStep = 8;  // a 480 Hz display
// Following the display, the next frame is started this share of a refresh after the refresh
// before the one it is meant for, so that it cannot slip onto that earlier refresh.
constexpr double kStartAfterRefreshShare = 0.25;
// A present further than this share of a refresh from the display's beat is off the beat, and
// a few in a row mean the display no longer paces the presents as measured.
constexpr double kOffBeatShare = 0.125;
constexpr int kOffBeatLimit = 5;
// A frame presented this long after it was due starts a new schedule instead of a rush to
// catch up.
constexpr double kStallSeconds = 5 * kFrameSeconds;

// The number of refreshes per step of a display refreshing every `period` seconds, when it
// runs at 60·k Hz; 0 for any other rate.
int refreshesPerStepAt(double period) {
  if (period <= 0.0) return 0;
  const int refreshes = static_cast<int>(std::lround(kFrameSeconds / period));
  if (refreshes < 1 || refreshes > kMostRefreshesPerStep) return 0;
  const double rateError = refreshes * period / kFrameSeconds - 1.0;
  return std::abs(rateError) <= kRateTolerance ? refreshes : 0;
}

// The refresh period of a display whose vertical sync made these back-to-back presents come
// back on its beat, or 0 when they keep no beat. A present may miss a refresh or more, and a
// few may come back off the beat on a busy machine.
double beatOf(const double* presents, int intervals) {
  std::vector<double> gaps(intervals);
  for (int i = 0; i < intervals; ++i) gaps[i] = presents[i + 1] - presents[i];
  std::vector<double> sorted = gaps;
  std::nth_element(sorted.begin(), sorted.begin() + intervals / 2, sorted.end());
  const double typicalGap = sorted[intervals / 2];
  if (typicalGap <= 0.0) return 0.0;
  long refreshes = 0;
  int offBeat = 0;
  for (double gap : gaps) {
    const long gapRefreshes = std::max(1L, std::lround(gap / typicalGap));
    if (std::abs(gap - gapRefreshes * typicalGap) > kSteadyShare * typicalGap) ++offBeat;
    refreshes += gapRefreshes;
  }
  if (offBeat > kMostOffBeatWhileMeasuring) return 0.0;
  return (presents[intervals] - presents[0]) / static_cast<double>(refreshes);
}

}  // namespace

FramePacer::FramePacer() : FramePacer(Clock{displayClockNow, waitForDisplayClock}) {}

FramePacer::FramePacer(Clock clock) : clock_(std::move(clock)) {}

FramePacer& FramePacer::instance() {
  static FramePacer& pacer = neverDestroyed<FramePacer>();
  return pacer;
}

void FramePacer::restart() {
  FramePacer fresh(clock_);
  fresh.enabled_ = enabled_;
  *this = std::move(fresh);
}

void FramePacer::afterPresent() {
  if (!enabled_) return;
  const double presented = clock_.now();
  if (!displayMeasured_ && !measureDisplay(presented)) return;
  if (refreshesPerStep_ > 0) {
    followDisplay(presented);
  } else {
    followSchedule(presented);
  }
}

bool FramePacer::measureDisplay(double presented) {
  measuredPresents_.push_back(presented);
  if (measuredPresents_.size() < kWarmUpPresents + kMeasuredIntervals + 1) return false;
  const double period = beatOf(measuredPresents_.data() + kWarmUpPresents, kMeasuredIntervals);
  const int refreshes = refreshesPerStepAt(period);
  if (refreshes > 0) {
    refreshesPerStep_ = refreshes;
    refreshSeconds_ = period;
  }
  measuredPresents_ = {};
  displayMeasured_ = true;
  due_ = presented;
  return true;
}

void FramePacer::followDisplay(double presented) {
  const double refresh = refreshSeconds_;
  const double late = presented - due_;
  const long refreshesLate = std::lround(late / refresh);
  const double offBeatBy = std::abs(late - static_cast<double>(refreshesLate) * refresh);
  if (refreshesLate >= 0 && offBeatBy <= kOffBeatShare * refresh) {
    offBeatPresents_ = 0;
    // The display's own beat is kept, and a late frame is made up on the next one, but never
    // by more than that one frame can give, nor after a stall.
    const long madeUp =
        late > kStallSeconds ? 0 : std::min<long>(refreshesLate, refreshesPerStep_ - 1);
    due_ = presented - static_cast<double>(madeUp) * refresh;
  } else if (++offBeatPresents_ < kOffBeatLimit) {
    due_ = presented;
  } else {
    refreshesPerStep_ = 0;
    due_ = presented;
    followSchedule(presented);
    return;
  }
  due_ += refreshesPerStep_ * refresh;
  // At one refresh per step the present alone waits for the display.
  if (refreshesPerStep_ > 1) clock_.sleepUntil(due_ - refresh + kStartAfterRefreshShare * refresh);
}

void FramePacer::followSchedule(double presented) {
  if (presented - due_ > kStallSeconds) due_ = presented;
  due_ += kFrameSeconds;
  clock_.sleepUntil(due_);
}
