#pragma once

// One screen of the game. Exactly one is current; the main loop calls its run() once per frame
// until there is none. A screen leaves from inside its own run(): it captures and fades the
// display, deletes itself and puts the next screen (or null, ending the game) in currentScene.
class Scene {
 public:
  // One frame of the screen.
  virtual void run() = 0;
  virtual ~Scene() = default;
};
