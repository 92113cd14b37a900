#include "app/input.h"

#include <algorithm>

#include "app/app_context.h"
#include "app/game_window.h"
#include "app/gamepad_input.h"
#include "base/never_destroyed.h"

namespace {

// Keys that hold a mouse button, for play without a mouse. Both keep their place and their
// label on QWERTY, AZERTY and QWERTZ keyboards: the little finger holds Shift to run and the
// middle finger taps E to attack, while the others stay on A, D, Q and the thumb on SPACE.
struct KeyButton {
  SDL_Scancode key;
  Uint32 button;
};
constexpr KeyButton kKeyButtons[] = {
    {SDL_SCANCODE_LSHIFT, SDL_BUTTON_RMASK},  // run
    {SDL_SCANCODE_E, SDL_BUTTON_LMASK},       // attack
};

WindowClosedHandler windowClosedHandler = nullptr;
const ScriptedInput* scriptedInput = nullptr;
GamepadInput& gamepads = neverDestroyed<GamepadInput>();
// Plain state that needs no destruction, unlike the controllers' handles above.
TouchControls touchControls;
// The keyboard (or the script), the controllers and the touch controls together; keyState
// points here.
std::array<Uint8, SDL_NUM_SCANCODES> heldKeys{};

Uint32 buttonsHeldOnKeys() {
  Uint32 buttons = 0;
  for (const KeyButton& mapping : kKeyButtons) {
    if (isKeyDown(mapping.key)) buttons |= mapping.button;
  }
  return buttons;
}

}  // namespace

void setWindowClosedHandler(WindowClosedHandler handler) {
  windowClosedHandler = handler;
}

void setScriptedInput(const ScriptedInput* input) {
  scriptedInput = input;
}

void resetInput() {
  scriptedInput = nullptr;
  gamepads.reopenAll();
  touchControls.release();
  heldKeys.fill(0);
}

void pollInput() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (event.type == SDL_QUIT && windowClosedHandler != nullptr) windowClosedHandler();
    handleWindowShortcut(event);
    gamepads.handleEvent(event);
  }
  const Uint8* keyboard =
      scriptedInput != nullptr ? scriptedInput->keys.data() : SDL_GetKeyboardState(nullptr);
  std::copy_n(keyboard, heldKeys.size(), heldKeys.begin());
  gamepads.addHeldKeys(heldKeys);
  touchControls.poll();
  touchControls.addHeldKeys(heldKeys);
  keyState = heldKeys.data();
}

// Before the first poll there is no snapshot yet, and nothing is held.
bool isKeyDown(SDL_Scancode key) {
  return keyState != nullptr && keyState[key] != 0;
}

Uint32 mouseButtons() {
  const Uint32 pointer =
      scriptedInput != nullptr ? scriptedInput->buttons : SDL_GetMouseState(nullptr, nullptr);
  return pointer | gamepads.heldMouseButtons() | touchControls.heldMouseButtons() |
         buttonsHeldOnKeys();
}

void offerTouchControls(TouchLayout layout) {
  touchControls.offer(layout);
}
