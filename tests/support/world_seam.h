#pragma once

// What tests reach of a world that the game keeps to itself: its overlay, which a test replaces
// with one that records what the world hands it.

#include <memory>

class HudEntity;
class WorldContainer;

struct WorldSeam {
  // Puts `hud` in place of `world`'s overlay, deleting the one before.
  static void replaceHud(WorldContainer& world, std::unique_ptr<HudEntity> hud);
};
