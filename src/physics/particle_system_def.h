#pragma once

#include <cstdint>

// Settings of a liquid particle system. The game keeps every default but the radius (0.08).
struct ParticleSystemDef {
  // A workerCount that shares a liquid's work with a second thread only when the liquid has
  // enough particles to gain from it, there are two cores, and recent steps were faster shared.
  static constexpr int32_t kWorkersBySize = -1;

  float radius = 1.0f;   // m; the particle diameter is twice this
  float density = 1.0f;  // mass per area; a particle weighs density × (0.75 × diameter)²
  float gravityScale = 1.0f;
  int32_t maxCount = 0;  // most particles alive at once; 0 is no limit
  float pressureStrength = 0.05f;
  float dampingStrength = 1.0f;
  float viscousStrength = 0.25f;
  // At maxCount, a new particle replaces the one closest to expiry (else the oldest) when true;
  // when false it is not made. Expiry by lifetime happens either way.
  bool destroyByAge = true;
  float lifetimeGranularity = 1.0f / 60.0f;  // s per tick of the lifetime clock
  // Threads besides the caller's that share each step: 0 (none), 1 (one, every step, whatever the
  // liquid's size, where the game may use two threads), or kWorkersBySize. The flow is the same
  // to the bit whichever is chosen.
  int32_t workerCount = kWorkersBySize;
};
