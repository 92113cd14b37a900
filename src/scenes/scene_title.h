#pragma once

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

  void run() override;

 private:
  void quit();
  void startGame();

  TarnwickApp::Sprite* sprite;
  Bitmap* picture;
  int musicChannel;
};
