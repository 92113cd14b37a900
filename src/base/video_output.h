#pragma once

// The game's one window and its renderer. They belong to the application, which opens them at
// start-up, hands them over here and closes them at shutdown; what draws reaches them through
// getWindow and getRenderer.

#include <SDL.h>

// Makes `window` and `renderer` the ones everything draws to (nulls once they are closed).
void useVideoOutput(SDL_Window* window, SDL_Renderer* renderer);

SDL_Window* getWindow();
SDL_Renderer* getRenderer();
