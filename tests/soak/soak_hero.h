#pragma once

// A tireless player for long runs: every frame it walks the hero towards the nearest foe still
// in play, jumps when the foe stands higher, and swings its weapon once the foe is in reach.
// It only presses keys and buttons, through a FrameScript, as a player would.

#include <SDL.h>

class Entity;
class FrameScript;
class WorldContainer;

class SoakHero {
 public:
  explicit SoakHero(FrameScript& script) : script_(script) {}

  // Sets the keys and buttons held during the coming frame.
  void steer(const WorldContainer& world);
  // Takes up the weapon of this number key (1 bare hand, 2 light, 3 heavy) at the next frame.
  void takeUpWeapon(SDL_Scancode key) { weaponKey_ = key; }

 private:
  struct Target {
    float dx;     // m from the hero's centre line to the foe's, positive to the right
    float dy;     // m from the hero's feet up to the foe's feet
    float reach;  // m: within this the hero's blows land
  };

  bool nearestFoe(const WorldContainer& world, Target& target) const;
  void approach(const WorldContainer& world, const Target& target);

  FrameScript& script_;
  SDL_Scancode weaponKey_ = SDL_SCANCODE_UNKNOWN;
  int frame_ = 0;
};
