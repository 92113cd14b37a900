#pragma once

// The game's one window. It opens at 800 × 600 and can be resized or switched to full screen;
// whatever its size, the game still draws one 800 × 600 picture, which the renderer scales to
// fill the window with its 4:3 shape kept and black bars where the shapes differ. Captures,
// fades and every bitmap stay 800 × 600.

#include <SDL.h>

// Opens the window titled "Game": resizable, at the display's full resolution on high-DPI
// screens, with the game's icon when assets/ holds it. Null when SDL cannot make it.
SDL_Window* createGameWindow();

// Makes `gameRenderer` scale the 800 × 600 picture to the window, now and after every resize.
// Draws at the drawable's own size, so a high-DPI display gets every pixel it has.
void scalePictureToWindow(SDL_Renderer* gameRenderer);

// F11 or Alt+Enter switches between the window and desktop full screen; other events are left
// alone. In the browser the page does this, and the game leaves every event alone.
void handleWindowShortcut(const SDL_Event& event);
