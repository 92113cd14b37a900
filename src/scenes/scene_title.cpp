#include "scenes/scene_title.h"

#include "app/app_context.h"
#include "app/input.h"
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

std::unique_ptr<Scene> newGame() {
  return std::make_unique<SceneMap>();
}

}  // namespace

SceneTitle::SceneTitle() {
  fadeOutChannel(ALL_CHANNELS, kSilenceEverythingMs);
  picture = AssetRegistry::instance()->bitmap("title");
  sprite = std::make_unique<TarnwickApp::Sprite>();
  sprite->setBitmap(picture, true);
  musicChannel =
      playSound(AssetRegistry::instance()->sound("title"), true, kMusicFadeInMs, -1, MUSIC_LEVEL);
  offerTouchControls(TouchLayout::title);
}

SceneTitle::~SceneTitle() = default;

SceneChange SceneTitle::run() {
  pollInput();
  if (isKeyDown(SDL_SCANCODE_ESCAPE)) return quit();
  if (isKeyDown(SDL_SCANCODE_SPACE)) return startGame();
  return SceneChange::stay();
}

SceneChange SceneTitle::quit() {
  // The music plays on until the process shuts down.
  return SceneChange::quit([this] { sprite->setShown(false); }, kLeaveFadeFrames);
}

SceneChange SceneTitle::startGame() {
  auto silenceAndHide = [this] {
    fadeOutChannel(musicChannel, kMusicFadeOutMs);
    sprite->setShown(false);
  };
  return SceneChange::throughBlack(silenceAndHide, kLeaveFadeFrames, newGame, kEnterFadeFrames);
}
