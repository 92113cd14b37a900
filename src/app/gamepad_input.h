#pragma once

// The game controllers plugged in, as a second source of held keys and mouse buttons: each
// button, stick and trigger stands for the key or mouse button that does the same thing, so game
// code still asks only "is this held". Any number of controllers may be open at once; whatever
// one of them holds counts as held.

#include <SDL.h>

#include <array>
#include <vector>

class GamepadInput {
 public:
  // Opens a controller SDL announces (plugged in, or already there when SDL starts) and closes
  // one that was unplugged; every other event is left alone.
  void handleEvent(const SDL_Event& event);

  // Marks in `keys` the keys that the open controllers hold.
  void addHeldKeys(std::array<Uint8, SDL_NUM_SCANCODES>& keys) const;

  // The mouse buttons that the open controllers hold (SDL_BUTTON_LMASK, SDL_BUTTON_RMASK).
  Uint32 heldMouseButtons() const;

  // Closes every controller and opens afresh those plugged in now, as at start-up.
  void reopenAll();

 private:
  void open(int deviceIndex);
  void close(SDL_JoystickID instance);

  // Closed when unplugged; SDL_Quit closes whatever is still open at shutdown.
  std::vector<SDL_GameController*> controllers_;
};
