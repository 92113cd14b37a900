// Twenty games in a row through the screens: the title, stage 1 with a fight, the game-over
// screen and back to the title. Every loop builds and tears down a world, the screens and
// their pictures and fades; memory must stay flat once the first loop has warmed it up.

#include <gtest/gtest.h>

#include <cstdio>

#include "actors/player_entity.h"
#include "app/app_context.h"
#include "app/screen_frames.h"
#include "scenes/scene_game_over.h"
#include "scenes/scene_map.h"
#include "scenes/scene_title.h"
#include "soak/memory_sample.h"
#include "support/screen_test.h"
#include "world/world_container.h"

namespace {

constexpr int kLoops = 20;
constexpr int kTitleFrames = 30;
constexpr int kStageFrames = 240;
constexpr int kGameOverFrames = 10;
constexpr int kLoseWithinFrames = 10;
constexpr int kSwingEveryFrames = 8;
constexpr int kJumpEveryFrames = 25;
// A world or a screen-sized picture left behind per loop (1.9 MB each) breaks these; the
// allocator's jitter does not.
constexpr size_t kHeapSlack = 2 << 20;      // bytes
constexpr size_t kResidentSlack = 8 << 20;  // bytes

class ScreenLoopSoak : public ScreenTest {
 protected:
  template <typename T>
  bool current() const {
    return dynamic_cast<T*>(currentScreen()) != nullptr;
  }

  // Title → stage 1 (running right, swinging and jumping) → game over → title.
  void playOneGame() {
    script.runScreens(kTitleFrames);
    script.hold(SDL_SCANCODE_SPACE).runScreens();
    ASSERT_TRUE(current<SceneMap>());
    for (int frame = 1; frame <= kStageFrames; ++frame) {
      script.releaseAll().hold(SDL_SCANCODE_D).holdButtons(SDL_BUTTON_RMASK);
      if (frame % kSwingEveryFrames == 0) script.holdButtons(SDL_BUTTON_LMASK);
      if (frame % kJumpEveryFrames == 0) script.hold(SDL_SCANCODE_SPACE);
      script.runScreens();
    }
    ASSERT_TRUE(current<SceneMap>()) << "the hero is still in the game";
    script.releaseAll();
    // Liquid drunk in the same frame may lift the hero back above 0 for a frame or two.
    for (int frame = 0; frame < kLoseWithinFrames && current<SceneMap>(); ++frame) {
      static_cast<SceneMap*>(currentScreen())->world->player().setHealth(0.0);
      script.runScreens();
    }
    ASSERT_TRUE(current<SceneGameOver>());
    script.runScreens(kGameOverFrames);
    // The game-over frame presents once before it reads SPACE; SPACE is let go while the
    // screens fade, before the title reads the keys.
    int presents = 0;
    setPresentObserver([this, &presents] {
      if (++presents == 2) script.release(SDL_SCANCODE_SPACE);
    });
    script.hold(SDL_SCANCODE_SPACE).runScreens();
    setPresentObserver(nullptr);
    ASSERT_TRUE(current<SceneTitle>());
  }

  void playGames(int games) {
    for (int i = 0; i < games && !HasFatalFailure(); ++i) playOneGame();
  }
};

TEST_F(ScreenLoopSoak, TwentyGamesFromTitleToGameOverKeepMemoryFlat) {
  playGames(1);
  const MemorySample start = MemorySample::take();
  playGames(kLoops / 2 - 1);
  const MemorySample middle = MemorySample::take();
  playGames(kLoops / 2);
  const MemorySample end = MemorySample::take();
  std::printf(
      "Screen loops, %d games from the title to game over and back:\n"
      "Memory at start: %s\nMemory at middle: %s\nMemory at end: %s\n",
      kLoops, start.describe().c_str(), middle.describe().c_str(), end.describe().c_str());

  EXPECT_LE(growth(start.heapBytes, end.heapBytes), kHeapSlack);
#ifndef TARNWICK_SANITIZE
  // The sanitizers hold freed blocks back for a while, so only their heap count is flat.
  EXPECT_LE(growth(start.residentBytes, end.residentBytes), kResidentSlack);
#endif
}

}  // namespace
