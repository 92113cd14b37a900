// Frame pacing on simulated displays: a clock that only moves when the game works, sleeps or
// waits for the display, and a present that, with vertical sync, returns at the display's next
// refresh. What a player sees is counted: steps per second and refreshes each frame stays on
// screen, with a hiccup while the display is measured, before and after a stall, and once the
// display stops waiting.

#include "app/frame_pacer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr double kFrameSeconds = 1.0 / 60.0;
constexpr double kSettledAfter = 2.0;     // s: the display is measured well before this
constexpr double kCountedSeconds = 10.0;  // s of steady play counted
constexpr double kStallSeconds = 0.3;     // the window held still by a drag
constexpr double kAfterStallSeconds = 3.0;
constexpr double kWithoutSyncSeconds = 3.0;
constexpr size_t kHiccupFrame = 12;

// One game on one display. `refreshHz` 0 is a present without vertical sync.
class SimulatedGame {
 public:
  explicit SimulatedGame(double refreshHz)
      : refresh_(refreshHz > 0.0 ? 1.0 / refreshHz : 0.0),
        pacer_({[this] { return now_; }, [this](double until) { now_ = std::max(now_, until); }}) {}

  // Plays until `until` s of simulated time; `extraWork` s are added to the first frame's work.
  void playUntil(double until, double extraWork = 0.0) {
    while (now_ < until) {
      now_ += work() + extraWork;
      extraWork = 0.0;
      shown_.push_back(present());
      pacer_.afterPresent();
    }
  }

  // From now on presents return at once, as when a driver stops honouring vertical sync.
  void loseVerticalSync() { refresh_ = 0.0; }

  double now() const { return now_; }
  // When each frame appeared on screen.
  const std::vector<double>& shown() const { return shown_; }

 private:
  // Logic and drawing take between a tenth and six tenths of a refresh (or of a frame), and
  // once, while the display is being measured, a refresh and a half.
  double work() {
    if (shown_.size() == kHiccupFrame) return 1.5 * (refresh_ > 0.0 ? refresh_ : kFrameSeconds);
    seed_ = seed_ * 6364136223846793005u + 1442695040888963407u;
    const double share = 0.1 + 0.5 * static_cast<double>(seed_ >> 11) / 9007199254740992.0;
    return share * (refresh_ > 0.0 ? std::min(refresh_, kFrameSeconds) : kFrameSeconds);
  }
  double present() {
    if (refresh_ > 0.0) now_ = (std::floor(now_ / refresh_) + 1.0) * refresh_;
    return now_;
  }

  double refresh_;
  double now_ = 1000.0;  // the clock's origin is arbitrary
  std::uint64_t seed_ = 1;
  FramePacer pacer_;
  std::vector<double> shown_;
};

int framesShownIn(const std::vector<double>& shown, double from, double to) {
  return static_cast<int>(
      std::count_if(shown.begin(), shown.end(), [&](double at) { return at >= from && at < to; }));
}

struct Display {
  const char* name;
  double refreshHz;  // 0: no vertical sync
  double stepsPerSecond;
  // How many refreshes a frame may stay on screen.
  int fewestRefreshes;
  int mostRefreshes;
};

// Every frame from the first counted one to the end stays on screen for as many refreshes as
// the display allows, except the one left showing through the stall.
void expectEvenFrames(const Display& display, const std::vector<double>& shown, int firstCounted,
                      int heldThroughStall) {
  const double refresh = 1.0 / display.refreshHz;
  for (int frame = firstCounted; frame + 1 < static_cast<int>(shown.size()); ++frame) {
    if (frame == heldThroughStall) continue;
    const long refreshes = std::lround((shown[frame + 1] - shown[frame]) / refresh);
    ASSERT_GE(refreshes, display.fewestRefreshes) << "frame " << frame;
    ASSERT_LE(refreshes, display.mostRefreshes) << "frame " << frame;
  }
}

TEST(FramePacer, EveryDisplayGetsItsStepsPerSecondAndEvenFramesThroughAStallAndALostSync) {
  const Display displays[] = {
      {"59.94 Hz", 59.94, 59.94, 1, 1},      {"60 Hz", 60.0, 60.0, 1, 1},
      {"60.02 Hz", 60.02, 60.02, 1, 1},      {"75 Hz", 75.0, 60.0, 1, 2},
      {"119.88 Hz", 119.88, 59.94, 2, 2},    {"120 Hz", 120.0, 60.0, 2, 2},
      {"144 Hz", 144.0, 60.0, 2, 3},         {"240 Hz", 240.0, 60.0, 4, 4},
      {"no vertical sync", 0.0, 60.0, 0, 0},
  };
  for (const Display& display : displays) {
    SCOPED_TRACE(display.name);
    SimulatedGame game(display.refreshHz);
    const double start = game.now();
    game.playUntil(start + kSettledAfter + kCountedSeconds);
    const double stalled = game.now();
    game.playUntil(stalled + kAfterStallSeconds, kStallSeconds);
    const std::vector<double>& shown = game.shown();

    const double counted =
        framesShownIn(shown, start + kSettledAfter, start + kSettledAfter + kCountedSeconds);
    EXPECT_NEAR(display.stepsPerSecond, counted / kCountedSeconds, 0.11);
    EXPECT_LE(framesShownIn(shown, stalled + kStallSeconds, stalled + kStallSeconds + 1.0),
              std::ceil(display.stepsPerSecond))
        << "no rush to catch up after the stall";
    if (display.refreshHz > 0.0) {
      const int firstAfterStall = framesShownIn(shown, 0.0, stalled + kStallSeconds);
      expectEvenFrames(display, shown, framesShownIn(shown, 0.0, start + kSettledAfter),
                       firstAfterStall - 1);
    }

    game.loseVerticalSync();
    const double lost = game.now();
    game.playUntil(lost + kWithoutSyncSeconds);
    EXPECT_NEAR(60.0, framesShownIn(game.shown(), lost + 1.0, lost + kWithoutSyncSeconds) / 2.0,
                0.51)
        << "the schedule takes over when presents stop waiting for the display";
  }
}

}  // namespace
