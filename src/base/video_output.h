#pragma once

// The game's one window and its renderer. Start-up opens them and shutdown closes them (the
// only code that sets the two variables); everything else reaches them through getWindow and
// getRenderer.

#include <SDL.h>

extern SDL_Window* window;
extern SDL_Renderer* renderer;

SDL_Window* getWindow();
SDL_Renderer* getRenderer();
