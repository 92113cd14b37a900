// ParticleGrid: the neighbour sweep finds exactly the close pairs, and box look-ups miss nobody.

#include "physics/particle_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace {

constexpr float kDiameter = 0.16f;

std::vector<b2Vec2> Scatter(int count, float width, float height, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> x(-width / 2, width / 2);
  std::uniform_real_distribution<float> y(-height / 2, height / 2);
  std::vector<b2Vec2> points(count);
  for (b2Vec2& p : points) p.Set(x(random), y(random));
  return points;
}

std::set<std::pair<int32_t, int32_t>> BruteForcePairs(const std::vector<b2Vec2>& points) {
  std::set<std::pair<int32_t, int32_t>> pairs;
  for (int32_t a = 0; a < static_cast<int32_t>(points.size()); ++a) {
    for (int32_t b = a + 1; b < static_cast<int32_t>(points.size()); ++b) {
      const b2Vec2 d = points[b] - points[a];
      if (d.x * d.x + d.y * d.y < kDiameter * kDiameter) pairs.insert({a, b});
    }
  }
  return pairs;
}

struct Sweep {
  std::vector<ParticleContact> contacts;  // slotA and slotB hold the particles' indices here
  std::vector<float> weights;             // by particle
};

// Runs the sweep over the points and returns its contacts and weights, by particle.
Sweep SweepContacts(const std::vector<b2Vec2>& points) {
  ParticleGrid grid;
  grid.SetDiameter(kDiameter);
  grid.Build(points.data(), static_cast<int32_t>(points.size()));
  Sweep sweep;
  std::vector<float> slotWeights(points.size());
  sweep.contacts.resize(grid.FindContacts(&sweep.contacts, slotWeights.data()));
  const int32_t* particleOf = grid.SortedIndices();
  for (ParticleContact& c : sweep.contacts) {
    c.slotA = particleOf[c.slotA];
    c.slotB = particleOf[c.slotB];
  }
  sweep.weights.resize(points.size());
  for (size_t slot = 0; slot < points.size(); ++slot) {
    sweep.weights[particleOf[slot]] = slotWeights[slot];
  }
  return sweep;
}

// The pairs met, each with its lower index first; duplicates are counted in `repeats`.
std::set<std::pair<int32_t, int32_t>> PairsOf(const std::vector<ParticleContact>& contacts,
                                              int* repeats) {
  std::set<std::pair<int32_t, int32_t>> pairs;
  for (const ParticleContact& c : contacts) {
    if (!pairs.insert({std::min(c.slotA, c.slotB), std::max(c.slotA, c.slotB)}).second) {
      ++*repeats;
    }
  }
  return pairs;
}

TEST(ParticleGridContacts, SweepFindsExactlyThePairsCloserThanADiameter) {
  for (unsigned seed = 1; seed <= 4; ++seed) {
    const std::vector<b2Vec2> points = Scatter(1500, 4.0f, 3.0f, seed);
    const Sweep sweep = SweepContacts(points);
    const std::vector<ParticleContact>& contacts = sweep.contacts;
    std::vector<float> weights(points.size(), 0.0f);
    for (const ParticleContact& c : contacts) {
      weights[c.slotA] += c.weight;
      weights[c.slotB] += c.weight;
      const b2Vec2 d = points[c.slotB] - points[c.slotA];
      EXPECT_NEAR(c.weight, 1.0f - d.Length() / kDiameter, 1e-5f);
      EXPECT_NEAR(c.normal.x, d.x / d.Length(), 1e-4f);
      EXPECT_NEAR(c.normal.y, d.y / d.Length(), 1e-4f);
    }
    for (size_t i = 0; i < points.size(); ++i) EXPECT_FLOAT_EQ(sweep.weights[i], weights[i]) << i;
    int repeats = 0;
    EXPECT_EQ(PairsOf(contacts, &repeats), BruteForcePairs(points)) << "seed " << seed;
    EXPECT_EQ(repeats, 0);
  }
}

// Liquid poured where liquid already is (two bursts at one spot) puts particles on top of one
// another: they touch with full weight and no direction, rather than pushing along a NaN.
TEST(ParticleGridContacts, CoincidentParticlesTouchWithFullWeightAndNoDirection) {
  std::vector<b2Vec2> points(5, b2Vec2(-0.3f, 0.7f));  // ten pairs: the four-lane measure and more
  points.push_back(b2Vec2(-0.3f + 0.5f * kDiameter, 0.7f));
  const Sweep sweep = SweepContacts(points);
  ASSERT_EQ(sweep.contacts.size(), 15u);
  for (const ParticleContact& c : sweep.contacts) {
    if (c.slotA == 5 || c.slotB == 5) {
      EXPECT_NEAR(c.weight, 0.5f, 1e-5f);
      EXPECT_NEAR(std::fabs(c.normal.x), 1.0f, 1e-5f);
    } else {
      EXPECT_EQ(c.weight, 1.0f);
      EXPECT_EQ(c.normal.x, 0.0f);
      EXPECT_EQ(c.normal.y, 0.0f);
    }
  }
  EXPECT_NEAR(sweep.weights[0], 4.5f, 1e-5f);
  EXPECT_NEAR(sweep.weights[5], 2.5f, 1e-5f);
}

TEST(ParticleGridContacts, CrowdedParticlesOverflowingTheWindowsAreAllFound) {
  const std::vector<b2Vec2> points = Scatter(2500, 1.0f, 1.0f, 7);  // dozens in every cell
  int repeats = 0;
  EXPECT_EQ(PairsOf(SweepContacts(points).contacts, &repeats), BruteForcePairs(points));
  EXPECT_EQ(repeats, 0);
}

TEST(ParticleGridContacts, FarApartParticlesUseTheComparisonSortAndStillMeet) {
  std::vector<b2Vec2> points = Scatter(200, 1.0f, 1.0f, 9);
  points.push_back(b2Vec2(1.0e6f, -3.0e5f));
  points.push_back(b2Vec2(1.0e6f + 0.1f, -3.0e5f));
  int repeats = 0;
  EXPECT_EQ(PairsOf(SweepContacts(points).contacts, &repeats), BruteForcePairs(points));
  EXPECT_EQ(repeats, 0);
}

TEST(ParticleGridNear, VisitsEveryParticleWithinADiameterOfTheBoxOnce) {
  const std::vector<b2Vec2> points = Scatter(3000, 10.0f, 10.0f, 5);
  ParticleGrid grid;
  grid.SetDiameter(kDiameter);
  grid.Build(points.data(), static_cast<int32_t>(points.size()));
  b2AABB box;
  box.lowerBound.Set(-1.3f, 0.2f);
  box.upperBound.Set(2.1f, 0.9f);
  std::vector<int32_t> visited;
  grid.ForEachNear(box, [&](int32_t slot) { visited.push_back(grid.SortedIndices()[slot]); });
  const std::set<int32_t> unique(visited.begin(), visited.end());
  EXPECT_EQ(unique.size(), visited.size());
  for (int32_t i = 0; i < static_cast<int32_t>(points.size()); ++i) {
    const b2Vec2 p = points[i];
    const bool near = p.x >= box.lowerBound.x - kDiameter && p.x <= box.upperBound.x + kDiameter &&
                      p.y >= box.lowerBound.y - kDiameter && p.y <= box.upperBound.y + kDiameter;
    if (near) {
      EXPECT_EQ(unique.count(i), 1u) << i;
    }
    if (unique.count(i) == 1) {  // nothing beyond the next cell out is visited
      EXPECT_GE(p.x, box.lowerBound.x - 2 * kDiameter);
      EXPECT_LE(p.x, box.upperBound.x + 2 * kDiameter);
      EXPECT_GE(p.y, box.lowerBound.y - 2 * kDiameter);
      EXPECT_LE(p.y, box.upperBound.y + 2 * kDiameter);
    }
  }
}

}  // namespace
