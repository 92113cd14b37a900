#include "support/game_test.h"

#include <SDL_image.h>
#include <SDL_mixer.h>
#include <unistd.h>

#include <cstdlib>

#include "app/app_context.h"
#include "app/frame_pacer.h"
#include "app/input.h"
#include "app/screen_frames.h"
#include "graphics/draw_list.h"
#include "media/asset_registry.h"
#include "support/test_assets.h"
#include "world/world_container.h"

void startHeadlessGame() {
  static bool started = false;
  if (started) return;
  started = true;
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_RENDER_DRIVER", "software", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  ASSERT_EQ(0, chdir(TestAssets::directory().c_str()));
  drawList = new TarnwickApp::DrawList();
  ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO | SDL_INIT_EVENTS | SDL_INIT_TIMER));
  ASSERT_EQ(IMG_INIT_PNG, IMG_Init(IMG_INIT_PNG));
  Mix_OpenAudio(40960, AUDIO_S16LSB, 2, 4096);
  Mix_AllocateChannels(16);
  window = SDL_CreateWindow("Game", 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, SDL_WINDOW_SHOWN);
  ASSERT_NE(nullptr, window) << SDL_GetError();
  renderer = SDL_CreateRenderer(window, -1, 0);
  ASSERT_NE(nullptr, renderer) << SDL_GetError();
  FramePacer::instance().setEnabled(false);
  testing::internal::CaptureStdout();
  AssetRegistry::instance()->loadAll();
  testing::internal::GetCapturedStdout();
}

void GameTest::SetUp() {
  startHeadlessGame();
  // Whoever builds a world clears the flag, as the title screen does before a new game.
  worldDestroyed = false;
}

void GameTest::TearDown() {
  setScriptedInput(nullptr);
  setPresentObserver(nullptr);
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
