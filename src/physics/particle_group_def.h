#pragma once

#include <box2d/b2_math.h>

#include <cstdint>

class b2Shape;

// Particle kinds as bit flags; the values are part of the interface (viscous is 32). Water and
// viscous particles are simulated; wall particles never move; zombie marks a particle for
// removal at the next Step. The other kinds are accepted and behave as water for now.
enum ParticleFlag : uint32_t {
  kWaterParticle = 0,
  kZombieParticle = 1 << 1,
  kWallParticle = 1 << 2,
  kSpringParticle = 1 << 3,
  kElasticParticle = 1 << 4,
  kViscousParticle = 1 << 5,
  kPowderParticle = 1 << 6,
  kTensileParticle = 1 << 7,
  kColorMixingParticle = 1 << 8,
  kDestructionListenerParticle = 1 << 9,
  kBarrierParticle = 1 << 10,
  kStaticPressureParticle = 1 << 11,
  kReactiveParticle = 1 << 12,
  kRepulsiveParticle = 1 << 13,
  kFixtureContactListenerParticle = 1 << 14,
  kParticleContactListenerParticle = 1 << 15,
  kFixtureContactFilterParticle = 1 << 16,
  kParticleContactFilterParticle = 1 << 17,
};

// A blob of particles to make: the shape is filled (circle, polygon) or stroked (edge, chain)
// in its own frame, then placed at position and angle.
struct ParticleGroupDef {
  uint32_t flags = kWaterParticle;
  b2Vec2 position{0, 0};
  float angle = 0;
  b2Vec2 linearVelocity{0, 0};
  float angularVelocity = 0;
  const b2Shape* shape = nullptr;  // not owned; only read while CreateParticleGroup runs
  float lifetime = 0;              // s; lifetime <= 0: never expires
};
