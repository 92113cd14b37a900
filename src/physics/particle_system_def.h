#pragma once

#include <cstdint>

// Settings of a liquid particle system. The game keeps every default but the radius (0.08).
//
// This module simulates water and viscous particles (and keeps wall and zombie particles still
// or marked); the strengths of the other particle kinds (elastic, spring, powder, tensile,
// repulsive, static pressure, colour mixing, surface tension, ejection) and strictContactCheck
// are kept for completeness and are not used yet.
struct ParticleSystemDef {
  float radius = 1.0f;  // m; the particle diameter is twice this
  bool strictContactCheck = false;
  float density = 1.0f;  // mass per area; a particle weighs density × (0.75 × diameter)²
  float gravityScale = 1.0f;
  int32_t maxCount = 0;  // most particles alive at once; 0 is no limit
  float pressureStrength = 0.05f;
  float dampingStrength = 1.0f;
  float elasticStrength = 0.25f;
  float springStrength = 0.25f;
  float viscousStrength = 0.25f;
  float surfaceTensionPressureStrength = 0.2f;
  float surfaceTensionNormalStrength = 0.2f;
  float repulsiveStrength = 1.0f;
  float powderStrength = 0.5f;
  float ejectionStrength = 0.5f;
  float staticPressureStrength = 0.2f;
  float staticPressureRelaxation = 0.2f;
  int32_t staticPressureIterations = 8;
  float colorMixingStrength = 0.5f;
  // At maxCount, a new particle replaces the one closest to expiry (else the oldest) when true;
  // when false it is not made. Expiry by lifetime happens either way.
  bool destroyByAge = true;
  float lifetimeGranularity = 1.0f / 60.0f;  // s per tick of the lifetime clock
};
