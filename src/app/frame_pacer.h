#pragma once

#include <SDL.h>

// Keeps the game at one step per 1/60 s when the display does not: on a faster display, or
// where vertical sync is not honoured, the present returns early and the pacer waits out the
// rest of the frame. A 60 Hz display with working vertical sync never loses a refresh to it.
class FramePacer {
 public:
  FramePacer();

  // Called after every present.
  void afterPresent();

  // Tests step frames as fast as they can.
  void setEnabled(bool enabled) { enabled_ = enabled; }
  bool enabled() const { return enabled_; }

  static FramePacer& instance();

 private:
  double secondsSince(Uint64 counter) const;

  bool enabled_ = true;
  Uint64 lastPresent_ = 0;
  double ticksPerSecond_;
};
