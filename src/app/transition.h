#pragma once

#include <functional>
#include <vector>

// A change of what the screen shows, as data the main loop plays one presented frame at a time:
// frames held, the screen frozen on a picture of the moment, a fade from that picture to the
// draw list, and the work done between them (a screen hidden, torn down or made, music changed,
// a stage rebuilt). Nothing in a transition presents by itself; the main loop's frame function
// advances it.
class Transition {
 public:
  // Work between two presents; it draws nothing on screen and may hand back a transition that
  // plays before the rest of this one (a new screen that leaves at once).
  using Work = std::function<Transition()>;

  struct Step {
    enum Kind { kHold, kCapture, kFade, kWork };
    Kind kind;
    int frames;  // held or faded frames
    Work work;
  };

  // Presents `frames` frames of the draw list; none while the screen is frozen.
  Transition& hold(int frames);
  // Freezes the screen on a fresh picture of the draw list (one present); a capture while frozen
  // takes the place of the picture held.
  Transition& capture();
  // When frozen: fades over `frames` frames from the captured picture to a fresh picture of the
  // draw list (one present for that picture, then one per frame), then unfreezes. Nothing when
  // the screen is live.
  Transition& fade(int frames);
  // Work between two presents that draws nothing on screen.
  Transition& then(std::function<void()> work);
  // Work that may hand back a transition to play before the rest of this one.
  Transition& thenPlay(Work work);
  // Appends every step of `next`.
  Transition& append(const Transition& next);

  bool empty() const { return steps_.empty(); }
  const std::vector<Step>& steps() const { return steps_; }

 private:
  std::vector<Step> steps_;
};
