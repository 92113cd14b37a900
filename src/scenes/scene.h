#pragma once

#include "scenes/scene_change.h"

// One screen of the game. Exactly one is current; the main loop calls its run() once per frame
// until there is none. A screen decides by itself when to leave: it freezes the display, hides
// what it owns and tells the main loop, through the SceneChange its run() returns, how to fade
// and which screen (or none, ending the game) comes next.
class Scene {
 public:
  // One frame of the screen; says whether it stays or how it leaves.
  virtual SceneChange run() = 0;
  virtual ~Scene() = default;
};
