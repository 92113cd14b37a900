#pragma once

// The events that travel between entities, one message type each, so that an event can only be
// sent with its own payload. A message lives with its sender for the duration of the call.

#include <cstdint>

class Entity;
class b2Contact;

// The hero's weapons by number, as the player picks them (keys 1, 2, 3) and the overlay shows
// them.
enum WeaponIndex : int32_t {
  WEAPON_BARE_HAND = 0,
  WEAPON_LIGHT = 1,
  WEAPON_HEAVY = 2,
};

// What an entity is, for receivers that care who hit them.
enum EntityKind : int32_t {
  KIND_PLAYER = 0,
  KIND_OVERLAY = 1,  // never strikes
  KIND_ENEMY = 2,
  KIND_BOSS = 3,
};

struct HitMessage {
  Entity* attacker;
  double damage;     // subtracted from the receiver's health
  double knockback;  // impulse scale k: a knocked-back body gets (±0.8·k, 0.6·k)
};

// One of the receiver's fixtures began touching another fixture; the contact names both.
struct ContactBegan {
  b2Contact* contact;
};

// One of the receiver's fixtures stopped touching another fixture.
struct ContactEnded {
  b2Contact* contact;
};

// The player's new health, for the overlay's gauge.
struct HealthReport {
  double health;
};

// The weapon the player has just taken up, for the overlay's plate.
struct WeaponReport {
  int32_t weapon;  // a WeaponIndex
};

struct BossStatus {
  bool alive;             // boss health > 0
  double healthFraction;  // boss health / 1500
};
