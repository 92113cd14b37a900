#include "app/display_clock.h"
#include "base/platform.h"

double displayClockNow() {
  return platform::monotonicSeconds();
}

// Sleeping wakes a little late; the last stretch is spun.
void waitForDisplayClock(double deadline) {
  const double spinFrom = deadline - platform::wakeLatenessSeconds();
  if (platform::monotonicSeconds() < spinFrom) platform::sleepUntil(spinFrom);
  while (platform::monotonicSeconds() < deadline) {
  }
}

bool displayFrameDue(double) {
  return true;
}
