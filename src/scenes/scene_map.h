#pragma once

#include <memory>

#include "scenes/scene.h"

class WorldContainer;

// The playing screen: drives the world one frame at a time and hands over to the game-over
// screen when the player's health is gone. Stage changes happen inside the world, which hands
// back the fades and waits of a change for the main loop to play before the frame goes on.
class SceneMap : public Scene {
 public:
  // Builds the world of stage 1.
  SceneMap();
  ~SceneMap() override;

  SceneChange run() override;
  // Watches the player's health and draws the world's next picture.
  SceneChange resume() override;

  std::unique_ptr<WorldContainer> world;

 private:
  SceneChange loseGame();
};
