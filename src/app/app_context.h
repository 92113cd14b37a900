#pragma once

// The process-wide application context: the window, its renderer, the draw list, the current
// screen and the screen-capture state that every subsystem reads. Created at start-up and never
// rebuilt.

#include <SDL.h>

#include <memory>

class Bitmap;
class Scene;
namespace TarnwickApp {
class DrawList;
}

constexpr int SCREEN_WIDTH = 800;
constexpr int SCREEN_HEIGHT = 600;

extern SDL_Window* window;
extern SDL_Renderer* renderer;
extern TarnwickApp::DrawList* drawList;
extern std::unique_ptr<Scene> currentScene;
extern bool screenFrozen;
extern std::unique_ptr<Bitmap> capturedScreen;
extern const Uint8* keyState;

SDL_Window* getWindow();
SDL_Renderer* getRenderer();

// printf-style output to standard output; the format carries its own "\n".
int logPrint(const char* format, ...) __attribute__((format(printf, 1, 2)));
