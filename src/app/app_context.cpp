#include "app/app_context.h"

#include <cstdarg>
#include <cstdio>

#include "graphics/bitmap.h"
#include "scenes/scene.h"

SDL_Window* window = nullptr;
SDL_Renderer* renderer = nullptr;
TarnwickApp::DrawList* drawList = nullptr;
std::unique_ptr<Scene> currentScene;
bool screenFrozen = false;
std::unique_ptr<Bitmap> capturedScreen;
const Uint8* keyState = nullptr;

SDL_Window* getWindow() {
  return window;
}

SDL_Renderer* getRenderer() {
  return renderer;
}

int logPrint(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const int written = std::vprintf(format, arguments);
  va_end(arguments);
  return written;
}
