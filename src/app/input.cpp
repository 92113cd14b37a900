#include "app/input.h"

#include <cstdlib>

#include "app/app_context.h"
#include "app/application.h"

namespace {

const ScriptedInput* scriptedInput = nullptr;

}  // namespace

void setScriptedInput(const ScriptedInput* input) {
  scriptedInput = input;
}

void pollInput() {
  keyState = SDL_GetKeyboardState(nullptr);
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (event.type == SDL_QUIT) {
      logPrint("Caught Exit!\n");
      shutDown();
      std::exit(0);
    }
  }
  if (scriptedInput != nullptr) keyState = scriptedInput->keys.data();
}

// Before the first poll there is no snapshot yet, and nothing is held.
bool isKeyDown(SDL_Scancode key) {
  return keyState != nullptr && keyState[key] != 0;
}

Uint32 mouseButtons() {
  if (scriptedInput != nullptr) return scriptedInput->buttons;
  return SDL_GetMouseState(nullptr, nullptr);
}
