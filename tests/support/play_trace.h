#pragma once

// What a player sees and hears while the game runs, recorded as it happens: one entry per
// presented frame (a probe pixel of the picture, and whether it went to the window or into a
// picture being captured) and every sound the game asks for, in words ("play fight_bgm loop 500
// 128", "fade-out fight_bgm 1000"), stamped with the number of presents made before it.

#include <SDL.h>

#include <functional>
#include <string>
#include <vector>

class PlayTrace {
 public:
  struct Shown {
    SDL_Color probe;
    bool intoPicture;  // rendered into a capture or fade picture, not shown in the window
  };
  struct Heard {
    size_t afterPresents;
    std::string what;
  };

  explicit PlayTrace(SDL_Point probe);
  ~PlayTrace();
  PlayTrace(const PlayTrace&) = delete;
  PlayTrace& operator=(const PlayTrace&) = delete;

  // Forgets what was recorded so far.
  void clear();
  // The sounds heard, in words, without their stamps.
  std::vector<std::string> sounds() const;

  std::vector<Shown> shown;
  std::vector<Heard> heard;
  // Called at every present after it is recorded, with the picture still in the target.
  std::function<void()> eachPresent;

 private:
  SDL_Point probe_;
};

// One part of a screen change, as the presents show it.
struct ScreenStep {
  enum Kind { kFlips, kCapture, kFade };
  Kind kind;
  int frames;
};
ScreenStep flips(int frames);
ScreenStep capture();
// A cross-fade of `frames` frames from the last capture to a fresh picture: the fresh picture's
// own present, then `frames` blends with the opacities 0, 255/frames, ... rounded.
ScreenStep fade(int frames);

// Checks that `shown` is exactly the given steps, each fade blending its two pictures at the
// probe frame by frame.
void expectScreenSteps(const std::vector<PlayTrace::Shown>& shown,
                       const std::vector<ScreenStep>& steps);
