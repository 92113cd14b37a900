#include "scenes/scene_map.h"

#include "actors/player_entity.h"
#include "app/app_context.h"
#include "app/input.h"
#include "app/screen_frames.h"
#include "scenes/scene_game_over.h"
#include "world/world_container.h"

namespace {

constexpr int kGameOverFadeFrames = 90;

}  // namespace

SceneMap::SceneMap() : world(new WorldContainer(1)) {}

SceneMap::~SceneMap() {
  logPrint("Destroying WorldContainer...\n");
  delete world;
}

void SceneMap::run() {
  flipFrame();
  pollInput();
  world->step();
  // A health that is not a number counts as alive.
  if (world->player->health <= 0.0) {
    loseGame();
    return;
  }
  world->render();
}

void SceneMap::loseGame() {
  captureScreen();
  delete this;
  // From here on only locals and globals: this screen is gone.
  logPrint("Going to GameOver...\n");
  currentScene = new SceneGameOver();
  crossFade(kGameOverFadeFrames);
}
