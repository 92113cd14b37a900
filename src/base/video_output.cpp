#include "base/video_output.h"

namespace {

SDL_Window* theWindow = nullptr;
SDL_Renderer* theRenderer = nullptr;

}  // namespace

void useVideoOutput(SDL_Window* window, SDL_Renderer* renderer) {
  theWindow = window;
  theRenderer = renderer;
}

SDL_Window* getWindow() {
  return theWindow;
}

SDL_Renderer* getRenderer() {
  return theRenderer;
}
