#include "bench_runtime.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/app_context.h"
#include "app/frame_pacer.h"
#include "graphics/draw_list.h"
#include "media/asset_registry.h"

void startBenchRuntime() {
  static bool started = false;
  if (started) return;
  started = true;
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_RENDER_DRIVER", "software", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  if (chdir(TARNWICK_SOURCE_DIR) != 0 || SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO) != 0 ||
      IMG_Init(IMG_INIT_PNG) != IMG_INIT_PNG) {
    std::fprintf(stderr, "benchmark runtime: %s\n", SDL_GetError());
    std::exit(1);
  }
  Mix_OpenAudio(40960, AUDIO_S16LSB, 2, 4096);
  Mix_AllocateChannels(16);
  drawList = new TarnwickApp::DrawList();
  window = SDL_CreateWindow("Game", 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, 0);
  renderer = SDL_CreateRenderer(window, -1, 0);
  FramePacer::instance().setEnabled(false);
  AssetRegistry::instance()->loadAll();
}

void FrameTimes::stop() {
  const auto elapsed = std::chrono::steady_clock::now() - begun_;
  ms_.push_back(std::chrono::duration<double, std::milli>(elapsed).count());
}

double FrameTimes::medianMs() {
  if (ms_.empty()) return 0.0;
  std::nth_element(ms_.begin(), ms_.begin() + ms_.size() / 2, ms_.end());
  return ms_[ms_.size() / 2];
}
