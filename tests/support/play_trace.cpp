#include "support/play_trace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "app/app_context.h"
#include "app/screen_frames.h"
#include "media/asset_registry.h"
#include "media/required_assets.h"
#include "media/sound.h"
#include "media/sound_playback.h"
#include "support/game_test.h"

namespace {

constexpr int kColourTolerance = 2;  // the renderer's blending rounds its own way

// The name of the first sound the game asks for that `is` picks out, or "?".
template <typename Matches>
std::string nameWhere(Matches is) {
  for (const char* name : RequiredAssets::kSounds) {
    if (is(AssetRegistry::instance()->sound(name))) return name;
  }
  return "?";
}

// A fade-out names the sound its channel was playing.
std::string describe(const SoundRequest& request) {
  const std::string ms = std::to_string(request.fadeMs);
  if (request.sound == nullptr) {
    const Mix_Chunk* playing = request.channel < 0 ? nullptr : Mix_GetChunk(request.channel);
    const std::string faded =
        request.channel < 0 ? "all"
                            : nameWhere([&](Sound* sound) { return sound->chunk() == playing; });
    return "fade-out " + faded + " " + ms;
  }
  return "play " + nameWhere([&](Sound* sound) { return sound == request.sound; }) +
         (request.loop ? " loop " : " once ") + ms + " " + std::to_string(request.level);
}

bool near(SDL_Color actual, float r, float g, float b) {
  return std::abs(actual.r - r) <= kColourTolerance && std::abs(actual.g - g) <= kColourTolerance &&
         std::abs(actual.b - b) <= kColourTolerance;
}

std::string text(SDL_Color c) {
  return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ")";
}

// Walks the recorded presents step by step.
class StepChecker {
 public:
  explicit StepChecker(const std::vector<PlayTrace::Shown>& shown) : shown_(shown) {}

  void check(const ScreenStep& step) {
    switch (step.kind) {
      case ScreenStep::kFlips:
        for (int i = 0; i < step.frames && !exhausted_; ++i) take(false, "a flip");
        break;
      case ScreenStep::kCapture:
        captured_ = take(true, "the capture").probe;
        break;
      case ScreenStep::kFade:
        checkFade(step.frames);
        break;
    }
  }
  size_t used() const { return next_; }

 private:
  PlayTrace::Shown take(bool intoPicture, const char* what) {
    if (next_ >= shown_.size()) {
      // Said once: every later step would only repeat it.
      if (!exhausted_) ADD_FAILURE() << "too few presents: " << what << " at present " << next_ + 1;
      exhausted_ = true;
      return {{0, 0, 0, 0}, intoPicture};
    }
    const PlayTrace::Shown shown = shown_[next_++];
    EXPECT_EQ(intoPicture, shown.intoPicture) << what << " at present " << next_;
    return shown;
  }

  void checkFade(int frames) {
    const SDL_Color fresh = take(true, "the fade's new picture").probe;
    if (exhausted_) return;
    const float step = 255.0f / static_cast<float>(frames);
    float opacity = 0.0f;
    for (int frame = 0; frame < frames; ++frame) {
      const float a = static_cast<Uint8>(static_cast<int>(std::roundf(opacity))) / 255.0f;
      const SDL_Color seen = take(false, "a fade frame").probe;
      if (exhausted_) return;
      EXPECT_TRUE(near(seen, captured_.r + (fresh.r - captured_.r) * a,
                       captured_.g + (fresh.g - captured_.g) * a,
                       captured_.b + (fresh.b - captured_.b) * a))
          << "fade frame " << frame + 1 << " of " << frames << " from " << text(captured_) << " to "
          << text(fresh) << " shows " << text(seen);
      opacity += step;
    }
  }

  const std::vector<PlayTrace::Shown>& shown_;
  size_t next_ = 0;
  bool exhausted_ = false;
  SDL_Color captured_{0, 0, 0, 255};
};

}  // namespace

PlayTrace::PlayTrace(SDL_Point probe) : probe_(probe) {
  setPresentObserver([this] {
    shown.push_back({GameTest::pixelOfTarget(probe_.x, probe_.y),
                     SDL_GetRenderTarget(getRenderer()) != nullptr});
    if (eachPresent) eachPresent();
  });
  setSoundObserver([this](const SoundRequest& request) {
    heard.push_back({shown.size(), describe(request)});
  });
}

PlayTrace::~PlayTrace() {
  setPresentObserver(nullptr);
  setSoundObserver(nullptr);
}

void PlayTrace::clear() {
  shown.clear();
  heard.clear();
}

std::vector<std::string> PlayTrace::sounds() const {
  std::vector<std::string> words;
  for (const Heard& sound : heard) words.push_back(sound.what);
  return words;
}

ScreenStep flips(int frames) {
  return {ScreenStep::kFlips, frames};
}

ScreenStep capture() {
  return {ScreenStep::kCapture, 1};
}

ScreenStep fade(int frames) {
  return {ScreenStep::kFade, frames};
}

void expectScreenSteps(const std::vector<PlayTrace::Shown>& shown,
                       const std::vector<ScreenStep>& steps) {
  StepChecker checker(shown);
  for (const ScreenStep& step : steps) checker.check(step);
  EXPECT_EQ(shown.size(), checker.used()) << "presents beyond the expected steps";
}
