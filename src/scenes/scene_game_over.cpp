#include "scenes/scene_game_over.h"

#include "app/input.h"
#include "app/screen_frames.h"
#include "graphics/sprite.h"
#include "media/asset_registry.h"
#include "scenes/scene_title.h"

namespace {

constexpr int kQuitFadeFrames = 120;
constexpr int kLeaveFadeFrames = 90;
constexpr int kEnterFadeFrames = 20;

std::unique_ptr<Scene> title() {
  return std::make_unique<SceneTitle>();
}

}  // namespace

SceneGameOver::SceneGameOver() {
  // No music of its own: the stage music is already fading out with the world.
  picture = AssetRegistry::instance()->bitmap("gameover");
  sprite = std::make_unique<TarnwickApp::Sprite>();
  sprite->setBitmap(picture, true);
  offerTouchControls(TouchLayout::gameOver);
}

SceneGameOver::~SceneGameOver() = default;

SceneChange SceneGameOver::run() {
  flipFrame();
  pollInput();
  if (isKeyDown(SDL_SCANCODE_ESCAPE)) return quit();
  if (isKeyDown(SDL_SCANCODE_SPACE)) return backToTitle();
  return SceneChange::stay();
}

SceneChange SceneGameOver::quit() {
  captureScreen();
  sprite->setShown(false);
  return SceneChange::quit(kQuitFadeFrames);
}

SceneChange SceneGameOver::backToTitle() {
  captureScreen();
  sprite->setShown(false);
  return SceneChange::throughBlack(kLeaveFadeFrames, title, kEnterFadeFrames);
}
