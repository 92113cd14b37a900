#include "base/video_output.h"

SDL_Window* window = nullptr;
SDL_Renderer* renderer = nullptr;

SDL_Window* getWindow() {
  return window;
}

SDL_Renderer* getRenderer() {
  return renderer;
}
