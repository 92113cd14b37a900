#pragma once

#include <functional>
#include <vector>

// Holds the game at one step per 1/60 s whatever the display does. Called after every present,
// it waits until the next frame is due.
//
// On a display whose vertical sync makes presents return at a steady 60·k Hz (k = 1, 2, ...,
// within 0.1 %), the game follows the display: every step is on screen for exactly k refreshes,
// and the steps keep the display's own rate (59.94 per second on a 119.88 Hz display) rather
// than drifting against it. At one refresh per step the present alone paces the game, as it
// always has. Anywhere else (75 or 144 Hz, presents that return at once) an absolute schedule
// governs: each frame is due 1/60 s after the one before, so no error builds up.
//
// The display is measured on the first presents of the run, which go out back to back; the
// game's first frames are black. After a stall of more than a few frames (a window dragged, the
// machine suspended) a new schedule starts instead of a rush to catch up.
class FramePacer {
 public:
  // Where the pacer reads the time and how it waits, in seconds on a monotonic clock.
  struct Clock {
    std::function<double()> now;
    std::function<void(double)> sleepUntil;
  };

  // Paced by the display clock (app/display_clock.h).
  FramePacer();
  explicit FramePacer(Clock clock);

  // Called after every present.
  void afterPresent();

  // Tests step frames as fast as they can.
  void setEnabled(bool enabled) { enabled_ = enabled; }
  bool enabled() const { return enabled_; }

  // Forgets the display it measured and its schedule, as if no frame had been presented yet;
  // keeps its clock and whether it paces at all.
  void restart();

  static FramePacer& instance();

 private:
  // Measures the display on the first presents; true once it has decided how to pace.
  bool measureDisplay(double presented);
  void followDisplay(double presented);
  void followSchedule(double presented);

  Clock clock_;
  bool enabled_ = true;
  bool displayMeasured_ = false;
  std::vector<double> measuredPresents_;
  // Refreshes per step and the refresh period when following the display; 0 on the schedule.
  int refreshesPerStep_ = 0;
  double refreshSeconds_ = 0.0;
  // Following the display, the refresh on which the frame now being made should appear; on the
  // schedule, the moment that frame was started.
  double due_ = 0.0;
  // Presents in a row that missed the display's refreshes.
  int offBeatPresents_ = 0;
};
