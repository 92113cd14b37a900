#pragma once

// The callback of every area query in the game (ground checks, drinking, strikes, the visible
// area): it collects the fixtures, their distinct bodies and the liquid particles in the box.
// Built empty for one query and discarded after it.

#include <box2d/box2d.h>

#include <cstdint>
#include <set>
#include <vector>

#include "physics/particle_query_callback.h"

class FixtureCounter : public b2QueryCallback, public ParticleQueryCallback {
 public:
  bool ReportFixture(b2Fixture* fixture) override;
  bool ReportParticle(const ParticleSystem* system, int32_t index) override;

  std::vector<b2Fixture*> fixtures;      // in report order, duplicates kept
  std::vector<int32_t> particleIndices;  // in report order
  std::set<b2Body*> bodies;              // distinct bodies of the fixtures
};
