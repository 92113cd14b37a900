#pragma once

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

  void run() override;

 private:
  void quit();
  void backToTitle();

  TarnwickApp::Sprite* sprite;
  Bitmap* picture;
};
