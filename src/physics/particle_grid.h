#pragma once

#include <box2d/b2_collision.h>
#include <box2d/b2_math.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "physics/particle_contact.h"

class WorkerThread;

// The liquid's broad phase: particle indices sorted by cell, in rows one diameter high, then by x
// (in sixteenths of a diameter), then by index. Neighbours are found by sweeping this order, and
// the particles near a box by jumping from row to row. Rebuilt from the positions by a radix
// sort at every step, so the order depends on the positions alone.
class ParticleGrid {
 public:
  void SetDiameter(float diameter);

  // Sorts particles 0 .. count-1 by their cells. Slot k of the order holds the particle
  // SortedIndices()[k]; the liquid is solved slot by slot, so that particles close in space are
  // close in memory.
  // With a worker, the work on each particle is shared with it; the order is the same.
  void Build(const b2Vec2* positions, int32_t count, WorkerThread* worker = nullptr);
  const int32_t* SortedIndices() const { return indices_.data(); }

  // Writes every pair of slots whose particles are closer than one diameter (positions as given
  // to Build) to the front of *contacts, in order of the first slot, and returns
  // how many. The vector only grows: entries past the count are scratch. Sets weights[slot] to
  // the sum of the weights of the slot's contacts. With a worker, half the search runs on it;
  // the results are the same either way.
  int32_t FindContacts(std::vector<ParticleContact>* contacts, float* weights,
                       WorkerThread* worker = nullptr);

  // The first slot of the row below the given slot's row. A particle's contacts reach no
  // further than the row above its own, so no particle in a slot before this one has a contact
  // with the given slot or any after it.
  int32_t FirstSlotOfRowBelow(int32_t slot) const;

  // Calls visit(slot) for every particle whose cell lies within one cell of the box: a superset
  // of the particles within one diameter of it, as of the last Build.
  template <typename Visit>
  void ForEachNear(const b2AABB& box, Visit&& visit) const;

 private:
  static constexpr uint64_t kRowStep = uint64_t{1} << 32;
  static constexpr uint32_t kCellX = 16;  // one diameter along x in key units
  // Sentinel keys after the last particle, beyond any real key, so scans need no bounds check;
  // positions are padded as far, so that four candidates can be read from any slot.
  static constexpr size_t kPadding = 16;
  static constexpr uint64_t kSentinel = UINT64_MAX;
  static constexpr size_t kLanes = 4;  // candidates tested at once

  struct ClosePair {
    uint32_t a;  // positions in sort order
    uint32_t b;
  };

  // The rows and columns a set of particles spans (empty: low above high).
  struct CellRange {
    uint32_t rowLow = UINT32_MAX;
    uint32_t rowHigh = 0;
    uint32_t xLow = UINT32_MAX;
    uint32_t xHigh = 0;
    CellRange Union(const CellRange& other) const {
      return {std::min(rowLow, other.rowLow), std::max(rowHigh, other.rowHigh),
              std::min(xLow, other.xLow), std::max(xHigh, other.xHigh)};
    }
  };

  static uint64_t MakeKey(uint32_t row, uint32_t x) { return (uint64_t{row} << 32) | x; }
  uint32_t RowOf(float y) const;
  uint32_t XOf(float x) const;
  size_t LowerBound(size_t first, uint64_t key) const;
  CellRange MakeKeys(const b2Vec2* positions, size_t first, size_t last);
#if defined(__SSE2__)
  size_t MakeFourKeysAtATime(const b2Vec2* positions, size_t first, size_t last, CellRange* range);
#endif
  void RadixSort(uint32_t rowLow, uint32_t rowRange, uint32_t xLow, uint32_t xRange);
  void ComparisonSort();
  size_t FindClosePairs(size_t begin, size_t end, std::vector<ClosePair>* pairs) const;
  size_t KeepClosePairs(size_t a, size_t first, size_t end, ClosePair* pairs, size_t found) const;
  template <bool kSumWeights>
  void MeasureContacts(const ClosePair* pairs, size_t count, ParticleContact* out,
                       float* weights) const;
  float MeasureContact(const ClosePair& pair, ParticleContact* out) const;
#if defined(__SSE2__)
  __m128 MeasureFourContacts(const ClosePair* pairs, ParticleContact* out) const;
#endif
  static void AddWeight(const ClosePair& pair, float weight, float* weights);
  static void SumWeights(const ParticleContact* contacts, size_t count, float* weights);

  float inverseDiameter_ = 1.0f;
  float squaredDiameter_ = 1.0f;
  std::vector<uint64_t> keys_;    // sorted
  std::vector<int32_t> indices_;  // particle of each sorted key
  std::vector<float> sortedX_;    // positions by slot
  std::vector<float> sortedY_;
  std::vector<ClosePair> pairs_;
  std::vector<ClosePair> secondPairs_;  // those the worker finds
  // Radix sort scratch.
  std::vector<uint64_t> unsortedKeys_;
  std::vector<int32_t> byX_;
  std::vector<int32_t> buckets_;
};

template <typename Visit>
void ParticleGrid::ForEachNear(const b2AABB& box, Visit&& visit) const {
  const uint32_t rowLow = RowOf(box.lowerBound.y) - 1;
  const uint32_t rowHigh = RowOf(box.upperBound.y) + 1;
  const uint32_t xLow = XOf(box.lowerBound.x) - kCellX;
  const uint32_t xHigh = XOf(box.upperBound.x) + kCellX;
  const size_t count = indices_.size();
  const uint64_t last = MakeKey(rowHigh, xHigh);
  size_t k = LowerBound(0, MakeKey(rowLow, xLow));
  while (k < count && keys_[k] <= last) {
    const uint32_t row = static_cast<uint32_t>(keys_[k] >> 32);
    const uint32_t x = static_cast<uint32_t>(keys_[k]);
    if (x < xLow) {
      k = LowerBound(k, MakeKey(row, xLow));
    } else if (x > xHigh) {
      k = LowerBound(k, MakeKey(row + 1, xLow));
    } else {
      visit(static_cast<int32_t>(k));
      ++k;
    }
  }
}
