#pragma once

// What the ordinary enemy and the boss have in common. A foe owns one upright disc body; it takes
// hits from the player only, hurts the player by touch, strikes upward whenever it bumps into
// ground, and when it falls it bursts into healing liquid. It ends itself inside its own update:
// fixture, sprite and body go and it leaves the live entities, while its storage stays with the
// world until the world's teardown (the boss's health is still read after its fall).

#include <SDL.h>
#include <box2d/box2d.h>

#include <cstdint>
#include <memory>

#include "actors/entity.h"

class FoeEntity : public Entity {
 public:
  using Entity::onEvent;
  // Only the player's blows hurt.
  void onEvent(const HitMessage& hit) override;
  // Touching the player hurts it; bumping into ground strikes upward.
  void onEvent(const ContactBegan& touch) override;
  void beFelled(double damage) override;

  // How the foe's sprite is mirrored: its pictures face left.
  SDL_RendererFlip spriteFlip() const;

  int32_t health;
  bool facingRight = false;  // nothing turns a foe, so it is always drawn mirrored
  b2Body* body;

 protected:
  // What a touch costs the player, and what the foe's upward strike off the ground deals.
  struct TouchHarm {
    double onPlayer;
    double groundStrike;
  };

  // Creates the foe's dynamic, non-rotating body at the origin; its creator moves it into place.
  FoeEntity(Arena* world, EntityKind kind, int32_t health, TouchHarm touchHarm);

  // A loss of health has just been taken; the foe may be knocked back by `knockback` (an impulse
  // scale, 0 for a felling).
  virtual void recoil(double knockback) = 0;

  // Takes the foe out of play: its fixture with its sprite, its body, its place among the live
  // entities. Harmless once done, so the destructor of a foe still in play can call it as well.
  template <class Container>
  void endSelf(std::unique_ptr<Container>& container) {
    container.reset();
    releaseBody();
  }

  // A circle of `radius` centred on `centre` in body coordinates.
  static b2CircleShape discShape(float radius, const b2Vec2& centre);
  // The fixture of a foe's disc: it never bounces; `mask` names the categories it collides with.
  static b2FixtureDef discFixture(const b2CircleShape& disc, float friction, float density,
                                  uint16_t mask);

  // Hits whoever stands in the strip just above the foe's centre line.
  void strikeUpward(double damage);
  // Leaves a blob of healing liquid filling a circle given in body coordinates.
  void burstIntoLiquid(float radius, const b2Vec2& centre);

 private:
  void loseHealth(double damage, double knockback);
  void answerTouch(b2Contact* contact);
  void releaseBody();

  TouchHarm touchHarm_;
};
