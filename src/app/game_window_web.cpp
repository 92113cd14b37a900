#include "app/game_window.h"

// The page makes the game full screen itself, from its button and from F11: a browser grants
// full screen only to the page's own handler of the key press or click.
void handleWindowShortcut(const SDL_Event&) {}
