#include "scenes/scene_title.h"

#include "app/app_context.h"
#include "app/input.h"
#include "app/screen_frames.h"
#include "graphics/sprite.h"
#include "media/asset_registry.h"
#include "media/sound_playback.h"
#include "scenes/scene_map.h"

namespace {

constexpr int kSilenceEverythingMs = 100;
constexpr int kMusicFadeInMs = 20;
constexpr int kMusicFadeOutMs = 1000;
constexpr int kLeaveFadeFrames = 90;
constexpr int kEnterFadeFrames = 20;

}  // namespace

SceneTitle::SceneTitle() {
  fadeOutChannel(ALL_CHANNELS, kSilenceEverythingMs);
  picture = AssetRegistry::instance()->bitmap("title");
  sprite = new TarnwickApp::Sprite();
  sprite->setBitmap(picture, true);
  musicChannel =
      playSound(AssetRegistry::instance()->sound("title"), true, kMusicFadeInMs, -1, MUSIC_LEVEL);
}

SceneTitle::~SceneTitle() {
  delete sprite;
}

void SceneTitle::run() {
  flipFrame();
  pollInput();
  if (isKeyDown(SDL_SCANCODE_ESCAPE)) {
    quit();
  } else if (isKeyDown(SDL_SCANCODE_SPACE)) {
    startGame();
  }
}

void SceneTitle::quit() {
  captureScreen();
  // The music plays on until the process shuts down.
  sprite->setShown(false);
  crossFade(kLeaveFadeFrames);
  delete this;
  currentScene = nullptr;
}

void SceneTitle::startGame() {
  captureScreen();
  fadeOutChannel(musicChannel, kMusicFadeOutMs);
  sprite->setShown(false);
  crossFade(kLeaveFadeFrames);
  delete this;
  // From here on only locals and globals: this screen is gone.
  captureScreen();
  currentScene = new SceneMap();
  currentScene->run();
  crossFade(kEnterFadeFrames);
}
