#include "support/main_loop_seam.h"

#include "scenes/scene.h"

// The main loop's current screen (app/application.cpp).
extern std::unique_ptr<Scene>& currentScene;

void showScreen(std::unique_ptr<Scene> screen) {
  currentScene = std::move(screen);
}
