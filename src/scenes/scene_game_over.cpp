#include "scenes/scene_game_over.h"

#include "app/app_context.h"
#include "app/input.h"
#include "app/screen_frames.h"
#include "graphics/sprite.h"
#include "media/asset_registry.h"
#include "scenes/scene_title.h"

namespace {

constexpr int kQuitFadeFrames = 120;
constexpr int kLeaveFadeFrames = 90;
constexpr int kEnterFadeFrames = 20;

}  // namespace

SceneGameOver::SceneGameOver() {
  // No music of its own: the stage music is already fading out with the world.
  picture = AssetRegistry::instance()->bitmap("gameover");
  sprite = new TarnwickApp::Sprite();
  sprite->setBitmap(picture, true);
}

SceneGameOver::~SceneGameOver() {
  delete sprite;
}

void SceneGameOver::run() {
  flipFrame();
  pollInput();
  if (isKeyDown(SDL_SCANCODE_ESCAPE)) {
    quit();
  } else if (isKeyDown(SDL_SCANCODE_SPACE)) {
    backToTitle();
  }
}

void SceneGameOver::quit() {
  captureScreen();
  sprite->setShown(false);
  crossFade(kQuitFadeFrames);
  delete this;
  currentScene = nullptr;
}

void SceneGameOver::backToTitle() {
  captureScreen();
  sprite->setShown(false);
  crossFade(kLeaveFadeFrames);
  delete this;
  // From here on only locals and globals: this screen is gone.
  captureScreen();
  currentScene = new SceneTitle();
  currentScene->run();
  crossFade(kEnterFadeFrames);
}
