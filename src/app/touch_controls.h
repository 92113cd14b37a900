#pragma once

// The controls a phone or tablet player touches on the browser's page, as one more source of held
// keys and mouse buttons beside the keyboard, the mouse and the controllers: each control holds
// the key or mouse button of its action, so game code still asks only "is this held". The page
// draws them and tracks the fingers; only the browser build has them, and on the desktop nothing
// is ever held.

#include <SDL.h>

#include <array>

// Which controls the page offers: a Start control on the screens that wait for one (the title,
// and game over on the way back to it), or the controls of play on the map.
// The page numbers them alike (web/index.html).
enum class TouchLayout { title, gameOver, play };

class TouchControls {
 public:
  TouchControls();

  // Takes what the fingers hold now. A control tapped and let go since the last call counts as
  // held this once, so that a tap shorter than a frame is never lost.
  void poll();

  // Marks in `keys` the keys that the controls hold.
  void addHeldKeys(std::array<Uint8, SDL_NUM_SCANCODES>& keys) const;

  // The mouse buttons that the controls hold (SDL_BUTTON_LMASK, SDL_BUTTON_RMASK).
  Uint32 heldMouseButtons() const;

  // Asks the page for the controls of `layout`.
  void offer(TouchLayout layout);

  // Nothing held, as at start-up.
  void release() { heldActions_ = 0; }

 private:
  // The page's report: one bit per action, in the order of TouchAction (touch_controls.cpp).
  static Uint32 takeHeldActions();

  Uint32 heldActions_ = 0;
};
