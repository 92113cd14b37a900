#include "app/app_context.h"
#include "app/game_window.h"

namespace {

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

void handleWindowShortcut(const SDL_Event& event) {
  if (event.type != SDL_KEYDOWN || !isFullScreenKey(event.key)) return;
  toggleFullScreen(getWindow());
}
