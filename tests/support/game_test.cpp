#include "support/game_test.h"

#include <SDL_mixer.h>
#include <unistd.h>

#include "app/app_context.h"
#include "app/runtime_state.h"
#include "media/asset_registry.h"
#include "support/headless_runtime.h"
#include "support/test_assets.h"

void startHeadlessGame() {
  static bool started = false;
  if (started) return;
  started = true;
  ASSERT_EQ(0, chdir(TestAssets::directory().c_str()));
  ASSERT_TRUE(startHeadlessRuntime());
  testing::internal::CaptureStdout();
  AssetRegistry::instance()->loadAll();
  testing::internal::GetCapturedStdout();
}

void GameTest::SetUp() {
  startHeadlessGame();
}

void GameTest::TearDown() {
  resetRuntimeState();
  // The next test starts in silence, with every channel free.
  Mix_HaltChannel(-1);
  SDL_SetRenderTarget(renderer, nullptr);
}

SDL_Color GameTest::pixelOfTarget(int x, int y) {
  const SDL_Rect one{x, y, 1, 1};
  Uint32 pixel = 0;
  SDL_RenderReadPixels(renderer, &one, SDL_PIXELFORMAT_ARGB8888, &pixel, 4);
  return {static_cast<Uint8>(pixel >> 16), static_cast<Uint8>(pixel >> 8),
          static_cast<Uint8>(pixel), static_cast<Uint8>(pixel >> 24)};
}

SDL_Color GameTest::pixelAt(SDL_Texture* texture, int x, int y) {
  SDL_Texture* previous = SDL_GetRenderTarget(renderer);
  SDL_SetRenderTarget(renderer, texture);
  const SDL_Color colour = pixelOfTarget(x, y);
  SDL_SetRenderTarget(renderer, previous);
  return colour;
}
