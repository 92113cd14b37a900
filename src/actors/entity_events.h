#pragma once

// The events that travel between entities, and their payloads. A payload lives on the sender's
// stack for the duration of the onEvent call.

#include <cstdint>

class Entity;

// Event kinds: the first argument of Entity::onEvent.
enum EventKind : int32_t {
  EVENT_HIT = 1,            // payload: HitMessage
  EVENT_CONTACT_BEGIN = 3,  // payload: a b2Contact* variable
  EVENT_CONTACT_END = 4,    // payload: a b2Contact* variable
  EVENT_HEALTH = 5,         // payload: double, the player's new health (to the overlay)
  EVENT_WEAPON = 6,         // payload: int32_t, the WeaponIndex of the weapon taken up
  EVENT_BOSS = 7,           // payload: BossStatus (to the overlay)
};

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
  KIND_ENEMY = 2,
  KIND_BOSS = 3,
};

struct HitMessage {
  int32_t reserved;  // always 0
  Entity* attacker;
  double damage;     // subtracted from the receiver's health
  double knockback;  // impulse scale k: a knocked-back body gets (±0.8·k, 0.6·k)
};

struct BossStatus {
  bool alive;             // boss health > 0
  double healthFraction;  // boss health / 1500
};
