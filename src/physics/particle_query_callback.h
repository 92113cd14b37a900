#pragma once

#include <cstdint>

class ParticleSystem;

// Receives the particles found by ParticleSystem::QueryAABB.
class ParticleQueryCallback {
 public:
  virtual ~ParticleQueryCallback() = default;
  // Called once per particle strictly inside the box; return false to stop the query.
  virtual bool ReportParticle(const ParticleSystem* system, int32_t index) = 0;
};
