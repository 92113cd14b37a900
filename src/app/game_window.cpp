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

bool isFullScreenKey(const SDL_KeyboardEvent& key) {
  if (key.repeat != 0) return false;
  const SDL_Scancode code = key.keysym.scancode;
  const bool enter = code == SDL_SCANCODE_RETURN || code == SDL_SCANCODE_KP_ENTER;
  return code == SDL_SCANCODE_F11 || (enter && (key.keysym.mod & KMOD_ALT) != 0);
}

// Desktop full screen keeps the display's own mode: no mode switch, and the picture is scaled
// like in any other window.
void toggleFullScreen(SDL_Window* gameWindow) {
  const bool fullScreen = (SDL_GetWindowFlags(gameWindow) & SDL_WINDOW_FULLSCREEN) != 0;
  SDL_SetWindowFullscreen(gameWindow, fullScreen ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

}  // namespace

SDL_Window* createGameWindow() {
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

void handleWindowShortcut(const SDL_Event& event) {
  if (event.type != SDL_KEYDOWN || !isFullScreenKey(event.key)) return;
  toggleFullScreen(getWindow());
}
