#pragma once

#include <box2d/b2_math.h>

#include <cstdint>

class b2Body;
class b2Fixture;

// Two particles closer than one diameter.
struct ParticleContact {
  int32_t indexA;
  int32_t indexB;
  float weight;    // 1 - distance / diameter
  b2Vec2 normal;   // unit vector from A to B
  uint32_t flags;  // flags of A | flags of B
};

// A particle closer than one diameter to a fixture's shape.
struct ParticleBodyContact {
  int32_t index;
  b2Body* body;
  b2Fixture* fixture;
  float weight;   // 1 - distance / diameter; above 1 inside the shape
  b2Vec2 normal;  // unit vector from the particle into the shape
  float mass;     // effective mass of the particle-body pair along the normal
};
