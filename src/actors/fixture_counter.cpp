#include "actors/fixture_counter.h"

bool FixtureCounter::ReportFixture(b2Fixture* fixture) {
  fixtures.push_back(fixture);
  bodies.insert(fixture->GetBody());
  return true;
}

bool FixtureCounter::ReportParticle(const ParticleSystem*, int32_t index) {
  particleIndices.push_back(index);
  return true;
}
