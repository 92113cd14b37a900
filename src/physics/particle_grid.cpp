#include "physics/particle_grid.h"

#include <cmath>

namespace {

// Cell coordinates are clamped to this, far beyond any level, so keys never wrap.
constexpr float kCoordinateLimit = 1.0e9f;
constexpr uint32_t kBias = 0x80000000u;
// Radix sort only while the occupied rows and columns fit this many buckets.
constexpr uint32_t kMaxBuckets = 1u << 18;

// floor(v) as a biased unsigned, so that unsigned order is numeric order; NaN goes low.
uint32_t BiasedFloor(float v) {
  if (!(v > -kCoordinateLimit)) v = -kCoordinateLimit;
  if (v > kCoordinateLimit) v = kCoordinateLimit;
  int32_t i = static_cast<int32_t>(v);
  if (v < static_cast<float>(i)) --i;
  return static_cast<uint32_t>(i) + kBias;
}

}  // namespace

void ParticleGrid::SetDiameter(float diameter) {
  inverseDiameter_ = 1.0f / diameter;
  squaredDiameter_ = diameter * diameter;
}

uint32_t ParticleGrid::RowOf(float y) const {
  return BiasedFloor(y * inverseDiameter_);
}

uint32_t ParticleGrid::XOf(float x) const {
  return BiasedFloor(x * inverseDiameter_ * static_cast<float>(kCellX));
}

size_t ParticleGrid::LowerBound(size_t first, uint64_t key) const {
  return std::lower_bound(keys_.begin() + first, keys_.end(), key) - keys_.begin();
}

void ParticleGrid::Build(const b2Vec2* positions, int32_t count) {
  const size_t n = static_cast<size_t>(count);
  unsortedKeys_.resize(n);
  keys_.assign(n + kPadding, kSentinel);
  indices_.resize(n);
  if (n == 0) return;
  uint32_t rowLow = UINT32_MAX, rowHigh = 0, xLow = UINT32_MAX, xHigh = 0;
  for (size_t i = 0; i < n; ++i) {
    const uint32_t row = RowOf(positions[i].y);
    const uint32_t x = XOf(positions[i].x);
    unsortedKeys_[i] = MakeKey(row, x);
    rowLow = std::min(rowLow, row);
    rowHigh = std::max(rowHigh, row);
    xLow = std::min(xLow, x);
    xHigh = std::max(xHigh, x);
  }
  if (rowHigh - rowLow < kMaxBuckets && xHigh - xLow < kMaxBuckets) {
    RadixSort(rowLow, rowHigh - rowLow + 1, xLow, xHigh - xLow + 1);
  } else {
    ComparisonSort();
  }
  sortedX_.assign(n + kPadding, 0.0f);
  sortedY_.assign(n + kPadding, 0.0f);
  for (size_t k = 0; k < n; ++k) {
    sortedX_[k] = positions[indices_[k]].x;
    sortedY_[k] = positions[indices_[k]].y;
  }
}

// For particles scattered over a huge area: the same order as the radix sort.
void ParticleGrid::ComparisonSort() {
  const size_t n = unsortedKeys_.size();
  for (size_t i = 0; i < n; ++i) indices_[i] = static_cast<int32_t>(i);
  std::sort(indices_.begin(), indices_.end(), [this](int32_t a, int32_t b) {
    return unsortedKeys_[a] < unsortedKeys_[b] || (unsortedKeys_[a] == unsortedKeys_[b] && a < b);
  });
  for (size_t k = 0; k < n; ++k) keys_[k] = unsortedKeys_[indices_[k]];
}

// Two stable counting sorts, by x and then by row, starting from index order.
void ParticleGrid::RadixSort(uint32_t rowLow, uint32_t rowRange, uint32_t xLow, uint32_t xRange) {
  const size_t n = unsortedKeys_.size();
  byX_.resize(n);
  buckets_.assign(std::max(rowRange, xRange) + 1, 0);
  int32_t* buckets = buckets_.data();
  const uint64_t* keys = unsortedKeys_.data();

  for (size_t i = 0; i < n; ++i) ++buckets[static_cast<uint32_t>(keys[i]) - xLow + 1];
  for (uint32_t b = 1; b <= xRange; ++b) buckets[b] += buckets[b - 1];
  for (size_t i = 0; i < n; ++i) {
    byX_[buckets[static_cast<uint32_t>(keys[i]) - xLow]++] = static_cast<int32_t>(i);
  }

  std::fill(buckets_.begin(), buckets_.begin() + rowRange + 1, 0);
  for (size_t i = 0; i < n; ++i) ++buckets[static_cast<uint32_t>(keys[i] >> 32) - rowLow + 1];
  for (uint32_t b = 1; b <= rowRange; ++b) buckets[b] += buckets[b - 1];
  for (size_t k = 0; k < n; ++k) {
    const int32_t i = byX_[k];
    const int32_t slot = buckets[static_cast<uint32_t>(keys[i] >> 32) - rowLow]++;
    indices_[slot] = i;
    keys_[slot] = keys[i];
  }
}

int32_t ParticleGrid::FindContacts(const uint32_t* slotFlags,
                                   std::vector<ParticleContact>* contacts, float* weights) {
  const size_t found = FindClosePairs();
  std::fill(weights, weights + indices_.size(), 0.0f);
  if (contacts->size() < found) contacts->resize(found + found / 2);

  const float* x = sortedX_.data();
  const float* y = sortedY_.data();
  const ClosePair* pairs = pairs_.data();
  ParticleContact* out = contacts->data();
  for (size_t k = 0; k < found; ++k) {
    const uint32_t a = pairs[k].a;
    const uint32_t b = pairs[k].b;
    const b2Vec2 d(x[b] - x[a], y[b] - y[a]);
    const float distance = std::sqrt(d.x * d.x + d.y * d.y);
    const float inverse = distance > 0.0f ? 1.0f / distance : 0.0f;
    const float weight = 1.0f - distance * inverseDiameter_;
    out[k] = {static_cast<int32_t>(a), static_cast<int32_t>(b), weight,
              b2Vec2(d.x * inverse, d.y * inverse), slotFlags[a] | slotFlags[b]};
    weights[a] += weight;
    weights[b] += weight;
  }
  return static_cast<int32_t>(found);
}

// Each pair is met once: from the first particle in sort order, to the right in its own row and
// from one cell left to one cell right in the row above. The first few candidates each way are
// tested in a fixed window and kept only when in range and close enough, so the common case
// runs without unpredictable branches; the sentinels past the end end every scan.
size_t ParticleGrid::FindClosePairs() {
  const size_t count = keys_.size() - kPadding;
  const uint64_t* keys = keys_.data();
  const float* x = sortedX_.data();
  const float* y = sortedY_.data();
  const float squaredDiameter = squaredDiameter_;
  size_t found = 0;
  size_t above = 0;
  ClosePair* pairs = pairs_.data();
  // Room for `extra` more candidates, and for the window that may follow them.
  auto reserve = [&](size_t extra) {
    if (pairs_.size() >= found + extra + kAboveWindow) return;
    pairs_.resize(2 * (found + extra + kAboveWindow));
    pairs = pairs_.data();
  };
  for (size_t a = 0; a < count; ++a) {
    reserve(kRightWindow);
    auto keep = [&](size_t b, bool inRange) {
      const float dx = x[b] - x[a];
      const float dy = y[b] - y[a];
      pairs[found] = {static_cast<uint32_t>(a), static_cast<uint32_t>(b)};
      found += (inRange & (dx * dx + dy * dy < squaredDiameter)) ? 1 : 0;
    };
    auto keepOverflow = [&](size_t b) {
      reserve(1);
      keep(b, true);
    };

    const uint64_t rightLimit = keys[a] + kCellX;
    for (size_t j = 1; j <= kRightWindow; ++j) keep(a + j, keys[a + j] <= rightLimit);
    for (size_t b = a + 1 + kRightWindow; keys[b] <= rightLimit; ++b) keepOverflow(b);

    while (keys[above] < keys[a] + kRowStep - kCellX) ++above;
    const uint64_t aboveLimit = keys[a] + kRowStep + kCellX;
    for (size_t j = 0; j < kAboveWindow; ++j) keep(above + j, keys[above + j] <= aboveLimit);
    for (size_t b = above + kAboveWindow; keys[b] <= aboveLimit; ++b) keepOverflow(b);
  }
  return found;
}
