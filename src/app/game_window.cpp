#include "app/game_window.h"

#include <SDL_image.h>

#include "app/app_context.h"

namespace {

constexpr const char* kIconPath = "assets/tarnwick.png";
// Smaller than this the picture is too small to play on.
constexpr int kMinimumWidth = SCREEN_WIDTH / 2;
constexpr int kMinimumHeight = SCREEN_HEIGHT / 2;

// The icon is a nicety: without its file the window simply keeps the system's default icon.
void setIcon(SDL_Window* gameWindow) {
  SDL_Surface* icon = IMG_Load(kIconPath);
  if (icon == nullptr) return;
  SDL_SetWindowIcon(gameWindow, icon);
  SDL_FreeSurface(icon);
}

}  // namespace

SDL_Window* createGameWindow() {
  // The game draws flat pictures, so a depth buffer would only be cleared after every frame: in
  // the browser, one more pass over the whole canvas.
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
  SDL_Window* gameWindow = SDL_CreateWindow(
      "Game", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_UNDEFINED, SCREEN_WIDTH, SCREEN_HEIGHT,
      SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  if (gameWindow == nullptr) return nullptr;
  SDL_SetWindowMinimumSize(gameWindow, kMinimumWidth, kMinimumHeight);
  setIcon(gameWindow);
  return gameWindow;
}

void scalePictureToWindow(SDL_Renderer* gameRenderer) {
  // The renderer keeps the logical size across resizes, full screen and render targets: a
  // target bitmap is drawn at its own size, the window through the scale.
  SDL_RenderSetLogicalSize(gameRenderer, SCREEN_WIDTH, SCREEN_HEIGHT);
}
