#pragma once

// The spotted cat the user steers: one dynamic body with a thin upright box, driven every frame
// by the keyboard and the mouse. It walks, runs (paying health), jumps and double-jumps, dodges
// backwards, drinks the liquid that beaten foes leave behind, starts attacks that its current
// weapon carries out, takes hits, and keeps the camera on itself.

#include <box2d/box2d.h>

#include <cstdint>
#include <memory>
#include <string>

#include "actors/entity.h"
#include "actors/fixture_container.h"

class WeaponWrapper;
class WorldContainer;

class PlayerEntity : public Entity {
 public:
  // The record on the hero's fixture: shows the current animation frame at the hero's feet.
  class PlayerContainer : public FixtureContainer {
   public:
    PlayerContainer(WorldContainer* world, b2Body* body, const b2FixtureDef* def);
    // Picks the owner's animation frame and puts it on the centre line at the feet.
    void syncSprite() override;

    PlayerEntity* owner = nullptr;
  };

  // The hero's box, in body coordinates: its centre line lies this far right of the body
  // origin, whose y is the feet.
  static constexpr float kCentreLineOffset = 1.0f;  // m
  static constexpr float kHeight = 1.2f;            // m
  // The health the hero starts with, at which the overlay's gauge is full.
  static constexpr double kFullHealth = 10000.0;

  explicit PlayerEntity(WorldContainer* world);
  ~PlayerEntity() override;

  // One frame: falling out of the level, ground check, drinking, controls, camera.
  void update() override;
  // Takes hits from anyone but itself; every other event is ignored.
  int onEvent(int32_t kind, void* data) override;

  // Adds `delta` to the health, tells the overlay and returns the new health.
  double addHealth(double delta);
  // The picture of this frame; while walking it also advances the walk cycle.
  std::string frameName();
  // Fades the heavy spin's sound out over `fadeMs` (0: at once) and forgets its channel.
  void stopAttackSound(int fadeMs);
  // Points the world's camera at the hero; every update ends with it, and a new stage starts
  // with it so that its first picture already shows the hero.
  void followWithCamera();

  // The world x of the hero's centre line and the y of its feet.
  float centreX() const;
  float feetY() const;

  std::unique_ptr<WeaponWrapper> weapon;
  int32_t attackPhase = 0;
  int32_t phaseFrame = 0;
  double health = kFullHealth;
  bool comboQueued = false;
  b2Body* body;
  std::unique_ptr<PlayerContainer> container;
  bool jumping = true;
  bool spawnFall = true;
  bool doubleJumped = false;
  bool jumpKeyReleased = false;
  bool facingRight = true;
  bool staggered = false;
  bool walking = false;
  bool running = false;
  bool attackButtonHeld = false;
  bool dodgeKeyHeld = false;
  bool weaponKeyHeld = false;
  bool airborne = false;
  int32_t attackSoundChannel = -1;

  // Frames into the walk or run cycle, shared by the whole process.
  static int32_t walkFrameCounter;

 private:
  void createBody();
  void recoverFromFall();
  bool standsOnGround();
  void updateGroundState(bool onGround);
  void drinkLiquid();
  void readMouse();
  void releaseWeaponKeyLatch();
  void continueAttack(bool onGround);
  void chooseWeapon();
  void walk(bool onGround);
  void dodge(bool onGround);
  void jump(bool onGround);
  void payForRunning();
  void setVelocity(float vx, float vy);
};
