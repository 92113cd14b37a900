#include "support/game_test.h"

#include <SDL_mixer.h>
#include <unistd.h>

#include "app/app_context.h"
#include "app/input.h"
#include "app/screen_frames.h"
#include "media/asset_registry.h"
#include "media/sound_playback.h"
#include "support/headless_runtime.h"
#include "support/log_capture.h"
#include "support/test_assets.h"
#include "world/world_container.h"

void startHeadlessGame() {
  static bool started = false;
  if (started) return;
  started = true;
  ASSERT_EQ(0, chdir(TestAssets::directory().c_str()));
  ASSERT_TRUE(startHeadlessRuntime());
  const LogCapture quiet;
  AssetRegistry::instance()->loadAll();
}

void GameTest::SetUp() {
  startHeadlessGame();
  // Whoever builds a world clears the flag, as the title screen does before a new game.
  worldDestroyed = false;
}

void GameTest::TearDown() {
  setScriptedInput(nullptr);
  setPresentObserver(nullptr);
  setSoundObserver(nullptr);
  // The next test starts in silence, with every channel free.
  Mix_HaltChannel(-1);
  SDL_SetRenderTarget(getRenderer(), nullptr);
}

SDL_Color GameTest::pixelOfTarget(int x, int y) {
  const SDL_Rect one{x, y, 1, 1};
  Uint32 pixel = 0;
  SDL_RenderReadPixels(getRenderer(), &one, SDL_PIXELFORMAT_ARGB8888, &pixel, 4);
  return {static_cast<Uint8>(pixel >> 16), static_cast<Uint8>(pixel >> 8),
          static_cast<Uint8>(pixel), static_cast<Uint8>(pixel >> 24)};
}

SDL_Color GameTest::pixelAt(SDL_Texture* texture, int x, int y) {
  SDL_Texture* previous = SDL_GetRenderTarget(getRenderer());
  SDL_SetRenderTarget(getRenderer(), texture);
  const SDL_Color colour = pixelOfTarget(x, y);
  SDL_SetRenderTarget(getRenderer(), previous);
  return colour;
}
