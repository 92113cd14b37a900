#include "scenes/scene_map.h"

#include <optional>

#include "actors/player_entity.h"
#include "app/app_context.h"
#include "app/input.h"
#include "scenes/scene_game_over.h"
#include "world/world_container.h"

namespace {

constexpr int kGameOverFadeFrames = 90;

// Made once the lost game's world is gone.
std::unique_ptr<Scene> gameOver() {
  logPrint("Going to GameOver...\n");
  return std::make_unique<SceneGameOver>();
}

}  // namespace

SceneMap::SceneMap() : world(std::make_unique<WorldContainer>(1)) {
  offerTouchControls(TouchLayout::play);
}

SceneMap::~SceneMap() {
  // The log shows this line before the world's own teardown lines.
  logPrint("Destroying WorldContainer...\n");
  world.reset();
}

SceneChange SceneMap::run() {
  pollInput();
  // A change of stage plays its fades and waits before the rest of the frame.
  if (const std::optional<StageChange> change = world->step()) {
    return SceneChange::after(world->changeStage(*change));
  }
  return resume();
}

SceneChange SceneMap::resume() {
  // A health that is not a number counts as alive.
  if (world->player().health() <= 0.0) return loseGame();
  world->render();
  return SceneChange::stay();
}

SceneChange SceneMap::loseGame() {
  // No fade to black: the last picture of the game fades straight into the game-over picture.
  return SceneChange::fadeInto(gameOver, kGameOverFadeFrames);
}
