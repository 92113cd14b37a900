#include <time.h>

#include <cerrno>
#include <cmath>
#include <cstdio>

#include "base/platform.h"

namespace platform {

double monotonicSeconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void sleepUntil(double deadline) {
  double whole = 0.0;
  const double fraction = std::modf(deadline, &whole);
  const timespec wake{static_cast<time_t>(whole), static_cast<long>(fraction * 1e9)};
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, nullptr) == EINTR) {
  }
}

double wakeLatenessSeconds() {
  return 0.00025;
}

bool writeStandardOutputByLine() {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  return true;
}

}  // namespace platform
