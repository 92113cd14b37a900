#pragma once

#include <functional>
#include <memory>

#include "scenes/scene.h"

class Bitmap;
namespace TarnwickApp {
class Sprite;
}

// Shown when the player's health is gone: a still picture. ESC quits, SPACE returns to the title.
class SceneGameOver : public Scene {
 public:
  SceneGameOver();
  ~SceneGameOver() override;

  SceneChange run() override;

 private:
  SceneChange quit();
  SceneChange backToTitle();
  // Takes the picture off the draw list, once the display is frozen on it.
  std::function<void()> hide();

  std::unique_ptr<TarnwickApp::Sprite> sprite;
  Bitmap* picture;
};
