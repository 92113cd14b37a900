// The least a frame of the browser build can cost: one full-window textured quad drawn through
// the same SDL renderer and presented, once per animation frame, and nothing else. What the page's
// main thread spends on it is the browser's own share of every frame (the WebGL calls, the
// canvas handed to the compositor), which no change to the game can cut.
// Built beside the browser benchmarks; scripts/bench_web.sh serves it as web_floor.html.

#include <SDL.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <vector>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

SDL_Renderer* renderer = nullptr;
SDL_Texture* picture = nullptr;

// A picture with something in every pixel, so the quad is drawn, not skipped.
SDL_Texture* makePicture() {
  std::vector<Uint32> pixels(kWidth * kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) pixels[y * kWidth + x] = 0xff000000u | (x << 8) | y;
  }
  SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                           SDL_TEXTUREACCESS_STATIC, kWidth, kHeight);
  SDL_UpdateTexture(texture, nullptr, pixels.data(), kWidth * sizeof(Uint32));
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
  return texture;
}

EM_BOOL drawFrame(double, void*) {
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  SDL_RenderCopy(renderer, picture, nullptr, nullptr);
  SDL_RenderPresent(renderer);
  EM_ASM({ Module["framesDrawn"] = (Module["framesDrawn"] || 0) + 1; });
  return EM_TRUE;
}

}  // namespace

int main(int, char**) {
  SDL_Init(SDL_INIT_VIDEO);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);  // as the game's window
  SDL_Window* window = SDL_CreateWindow("Floor", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                        kWidth, kHeight, 0);
  renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
  picture = makePicture();
  emscripten_request_animation_frame_loop(drawFrame, nullptr);
  return 0;
}
