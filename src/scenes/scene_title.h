#pragma once

#include <memory>

#include "scenes/scene.h"

class Bitmap;
namespace TarnwickApp {
class Sprite;
}

// The title: a still picture with looping music. ESC quits, SPACE starts a game.
class SceneTitle : public Scene {
 public:
  // Built while the display is frozen; starts the title music.
  SceneTitle();
  ~SceneTitle() override;

  SceneChange run() override;

 private:
  SceneChange quit();
  SceneChange startGame();

  std::unique_ptr<TarnwickApp::Sprite> sprite;
  Bitmap* picture;
  int musicChannel;
};
