#pragma once

#include "scenes/scene_change.h"

// One screen of the game. Exactly one is current; the main loop presents its picture and calls
// its run() once per frame until there is none. A screen decides by itself when to leave: it
// tells the main loop, through the SceneChange its run() returns, what to hide, how to fade and
// which screen (or none, ending the game) comes next.
class Scene {
 public:
  // One frame of the screen, after its picture was presented; says whether it stays or how it
  // leaves.
  virtual SceneChange run() = 0;
  // The rest of a frame that handed back a transition to play first.
  virtual SceneChange resume() { return SceneChange::stay(); }
  virtual ~Scene() = default;
};
