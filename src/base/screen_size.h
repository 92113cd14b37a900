#pragma once

// The size of the game's picture in pixels: the window's logical size, and that of every
// full-screen bitmap (screen captures and fades, the world's picture, the overlay's).
constexpr int SCREEN_WIDTH = 800;
constexpr int SCREEN_HEIGHT = 600;
