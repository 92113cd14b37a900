#pragma once

#include <box2d/b2_math.h>

#include <cstdint>

class b2Body;
class b2Fixture;

// Two particles closer than one diameter, named by their slots in the grid's order. Only what
// the contact passes read is kept: each pass streams the whole list, which at tens of thousands
// of particles no longer fits in the cache.
struct ParticleContact {
  int32_t slotA;
  int32_t slotB;
  float weight;   // 1 - distance / diameter
  b2Vec2 normal;  // unit vector from A to B
};

// A particle (by slot) closer than one diameter to a fixture's shape.
struct ParticleBodyContact {
  int32_t slot;
  b2Body* body;
  b2Fixture* fixture;
  float weight;   // 1 - distance / diameter; above 1 inside the shape
  b2Vec2 normal;  // unit vector from the particle into the shape
  float mass;     // effective mass of the particle-body pair along the normal
};
