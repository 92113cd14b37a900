#pragma once

// Polled input: once per frame each screen pumps SDL's events, which refreshes the snapshot of
// held keys; game code asks only "is this key held" and "which mouse buttons are down". Game
// controllers count as keyboard and mouse: each of their buttons holds the key or mouse button
// of the same action (GamepadInput), and so do two keys: left Shift holds the right mouse
// button (run) and E the left (attack). In the browser, so do the controls on the page that a
// phone or tablet player touches (TouchControls).

#include <SDL.h>

#include <array>

#include "app/touch_controls.h"

// Takes every pending event; a closed window calls the installed WindowClosedHandler, F11 or
// Alt+Enter switches full screen, a controller plugged in or out is opened or closed. Refreshes
// keyState: the keyboard's keys, the controllers' and the touch controls'.
void pollInput();

// True while `key` was held at the last pollInput.
bool isKeyDown(SDL_Scancode key);

// The mouse buttons held, on the mouse, through a controller or on their keys at the last
// pollInput (SDL_BUTTON_LMASK, ...).
Uint32 mouseButtons();

// What closing the window does. The application installs it; until then (or with null) a
// closed window is ignored.
using WindowClosedHandler = void (*)();
void setWindowClosedHandler(WindowClosedHandler handler);

// The screens that wait for a start (title, game over) offer a touch Start control; the map
// offers the controls of play.
void offerTouchControls(TouchLayout layout);

// Held keys and buttons supplied by a script instead of the devices, so that tests can play
// the game frame by frame (SDL's own keyboard array cannot be set from outside).
struct ScriptedInput {
  std::array<Uint8, SDL_NUM_SCANCODES> keys{};
  Uint32 buttons = 0;

  void hold(SDL_Scancode key) { keys[key] = 1; }
  void release(SDL_Scancode key) { keys[key] = 0; }
  void releaseAll() {
    keys.fill(0);
    buttons = 0;
  }
};

// While set, pollInput and mouseButtons read `input` instead of the keyboard and mouse (the
// controllers and touch controls still count); null restores them.
void setScriptedInput(const ScriptedInput* input);

// Back to input as at start-up: no script, nothing held, the controllers plugged in now opened
// afresh.
void resetInput();
