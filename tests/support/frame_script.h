#pragma once

// Plays the game frame by frame from a script: keys and mouse buttons held for a number of
// frames, then the world (or the current screen) stepped, as the map screen would.

#include <SDL.h>

#include "app/input.h"

class Transition;
class WorldContainer;

// Plays `transition` through, frame by frame, as the main loop would.
void playOut(const Transition& transition);

class FrameScript {
 public:
  FrameScript();
  ~FrameScript();
  FrameScript(const FrameScript&) = delete;
  FrameScript& operator=(const FrameScript&) = delete;

  FrameScript& hold(SDL_Scancode key);
  FrameScript& release(SDL_Scancode key);
  FrameScript& holdButtons(Uint32 mask);  // SDL_BUTTON_LMASK, SDL_BUTTON_RMASK
  FrameScript& releaseButtons(Uint32 mask);
  FrameScript& releaseAll();

  // `frames` frames of play: poll the scripted input, step the world, play a change of stage.
  void play(WorldContainer& world, int frames = 1);
  // `frames` frames of the main loop: the current screen, and the change of screen it asks for
  // (or fewer frames, when the game ends).
  void runScreens(int frames = 1);

 private:
  ScriptedInput input_;
};
