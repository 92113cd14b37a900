#include "scenes/scene_game_over.h"

#include "app/input.h"
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
  pollInput();
  if (isKeyDown(SDL_SCANCODE_ESCAPE)) return quit();
  if (isKeyDown(SDL_SCANCODE_SPACE)) return backToTitle();
  return SceneChange::stay();
}

SceneChange SceneGameOver::quit() {
  return SceneChange::quit(hide(), kQuitFadeFrames);
}

SceneChange SceneGameOver::backToTitle() {
  return SceneChange::throughBlack(hide(), kLeaveFadeFrames, title, kEnterFadeFrames);
}

std::function<void()> SceneGameOver::hide() {
  return [this] { sprite->setShown(false); };
}
