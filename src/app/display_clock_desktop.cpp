#include <time.h>

#include <cerrno>
#include <cmath>

#include "app/display_clock.h"

namespace {

// Sleeping wakes a little late; the last stretch is spun.
constexpr double kSpinSeconds = 0.00025;

}  // namespace

double displayClockNow() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void waitForDisplayClock(double deadline) {
  const double spinFrom = deadline - kSpinSeconds;
  if (displayClockNow() < spinFrom) {
    double whole = 0.0;
    const double fraction = std::modf(spinFrom, &whole);
    const timespec wake{static_cast<time_t>(whole), static_cast<long>(fraction * 1e9)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, nullptr) == EINTR) {
    }
  }
  while (displayClockNow() < deadline) {
  }
}
