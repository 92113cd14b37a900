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
#include "actors/wielder.h"

class Arena;
class WeaponWrapper;
namespace TarnwickApp {
class Sprite;
}

class PlayerEntity : public Entity, public Wielder {
 public:
  // The record on the hero's fixture: shows the current animation frame at the hero's feet.
  class PlayerContainer : public FixtureContainer {
   public:
    PlayerContainer(Arena* world, b2Body* body, const b2FixtureDef* def);
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

  explicit PlayerEntity(Arena* world);
  ~PlayerEntity() override;

  // One frame: falling out of the level, ground check, drinking, controls, camera.
  void update() override;
  using Entity::onEvent;
  // Takes hits from anyone but itself.
  void onEvent(const HitMessage& hit) override;

  // Adds `delta` to the health, tells the overlay and returns the new health.
  double addHealth(double delta);
  // Sets the health without telling the overlay: a change of stage carries the health over,
  // then reports it.
  void setHealth(double health) { health_ = health; }
  // The picture of this frame; while walking it also advances the walk cycle.
  std::string frameName();

  // What a weapon does with the hero (see actors/wielder.h).
  AttackState& attack() override { return attack_; }
  void pushForward(float speed) override;
  void stop() override;
  void pay(double cost) override;
  void strike(const Strike& blow) override;
  void playAttackSound(const char* name) override;
  void stopAttackSound(int fadeMs) override;
  // Points the world's camera at the hero; every update ends with it, and a new stage starts
  // with it so that its first picture already shows the hero.
  void followWithCamera();

  // The world x of the hero's centre line and the y of its feet.
  float centreX() const;
  float feetY() const;

  // What the hero is and does, for the world and for checks.
  double health() const { return health_; }
  b2Body* body() const { return body_; }
  const TarnwickApp::Sprite& sprite() const;
  int32_t attackPhase() const { return attack_.phase; }
  int32_t phaseFrame() const { return attack_.phaseFrame; }
  bool comboQueued() const { return attack_.comboQueued; }
  int32_t attackSoundChannel() const { return attackSoundChannel_; }
  bool facingRight() const { return facingRight_; }
  bool staggered() const { return staggered_; }
  bool walking() const { return walking_; }
  bool airborne() const { return airborne_; }

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

  std::unique_ptr<WeaponWrapper> weapon_;
  AttackState attack_;
  double health_ = kFullHealth;
  b2Body* body_;
  std::unique_ptr<PlayerContainer> container_;
  bool jumping_ = true;
  bool spawnFall_ = true;
  bool doubleJumped_ = false;
  bool jumpKeyReleased_ = false;
  bool facingRight_ = true;
  bool staggered_ = false;
  bool walking_ = false;
  bool running_ = false;
  bool attackButtonHeld_ = false;
  bool dodgeKeyHeld_ = false;
  bool weaponKeyHeld_ = false;
  bool airborne_ = false;
  int32_t attackSoundChannel_ = -1;
  int32_t walkFrameCounter_ = 0;  // frames into the walk or run cycle
};
