#pragma once

// What tests reach of the main loop that the game keeps to itself: its current screen.

#include <memory>

class Scene;

// Makes `screen` the current one, as the main loop makes the title current, deleting the one
// before.
void showScreen(std::unique_ptr<Scene> screen);
