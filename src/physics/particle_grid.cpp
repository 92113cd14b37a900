#include "physics/particle_grid.h"

#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Four lanes side by side: SSE2 where there is SSE2 (every x86-64), else one lane at a time. Its
// square root and division round exactly as the scalar ones do, so the figures are the same.
constexpr size_t kLanes = 4;

// Bit j set when the particle at (x[j], y[j]) lies closer than one diameter to (ax, ay).
int CloseLanes(const float* x, const float* y, float ax, float ay, float squaredDiameter) {
#if defined(__SSE2__)
  const __m128 dx = _mm_sub_ps(_mm_loadu_ps(x), _mm_set1_ps(ax));
  const __m128 dy = _mm_sub_ps(_mm_loadu_ps(y), _mm_set1_ps(ay));
  const __m128 squared = _mm_add_ps(_mm_mul_ps(dx, dx), _mm_mul_ps(dy, dy));
  return _mm_movemask_ps(_mm_cmplt_ps(squared, _mm_set1_ps(squaredDiameter)));
#else
  int close = 0;
  for (size_t j = 0; j < kLanes; ++j) {
    const float dx = x[j] - ax;
    const float dy = y[j] - ay;
    close |= (dx * dx + dy * dy < squaredDiameter ? 1 : 0) << j;
  }
  return close;
#endif
}

// A contact's weight (1 - distance / diameter) and unit normal, from its offset, in four lanes.
struct ContactLanes {
  float weight[kLanes];
  float normalX[kLanes];
  float normalY[kLanes];
};

ContactLanes MeasureContacts(const float* dx, const float* dy, float inverseDiameter) {
  ContactLanes lanes;
#if defined(__SSE2__)
  const __m128 x = _mm_loadu_ps(dx);
  const __m128 y = _mm_loadu_ps(dy);
  const __m128 distance = _mm_sqrt_ps(_mm_add_ps(_mm_mul_ps(x, x), _mm_mul_ps(y, y)));
  const __m128 positive = _mm_cmpgt_ps(distance, _mm_setzero_ps());
  const __m128 inverse = _mm_and_ps(_mm_div_ps(_mm_set1_ps(1.0f), distance), positive);
  const __m128 weight =
      _mm_sub_ps(_mm_set1_ps(1.0f), _mm_mul_ps(distance, _mm_set1_ps(inverseDiameter)));
  _mm_storeu_ps(lanes.weight, weight);
  _mm_storeu_ps(lanes.normalX, _mm_mul_ps(x, inverse));
  _mm_storeu_ps(lanes.normalY, _mm_mul_ps(y, inverse));
#else
  for (size_t j = 0; j < kLanes; ++j) {
    const float distance = std::sqrt(dx[j] * dx[j] + dy[j] * dy[j]);
    const float inverse = distance > 0.0f ? 1.0f / distance : 0.0f;
    lanes.weight[j] = 1.0f - distance * inverseDiameter;
    lanes.normalX[j] = dx[j] * inverse;
    lanes.normalY[j] = dy[j] * inverse;
  }
#endif
  return lanes;
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
  for (size_t first = 0; first < found; first += kLanes) {
    // The last group may have fewer pairs than lanes; its spare lanes measure the first again.
    const size_t lanesUsed = std::min<size_t>(kLanes, found - first);
    float dx[kLanes];
    float dy[kLanes];
    for (size_t j = 0; j < kLanes; ++j) {
      const ClosePair& pair = pairs[first + (j < lanesUsed ? j : 0)];
      dx[j] = x[pair.b] - x[pair.a];
      dy[j] = y[pair.b] - y[pair.a];
    }
    const ContactLanes lanes = MeasureContacts(dx, dy, inverseDiameter_);
    for (size_t j = 0; j < lanesUsed; ++j) {
      const uint32_t a = pairs[first + j].a;
      const uint32_t b = pairs[first + j].b;
      const float weight = lanes.weight[j];
      out[first + j] = {static_cast<int32_t>(a), static_cast<int32_t>(b), weight,
                        b2Vec2(lanes.normalX[j], lanes.normalY[j]), slotFlags[a] | slotFlags[b]};
      weights[a] += weight;
      weights[b] += weight;
    }
  }
  return static_cast<int32_t>(found);
}

// Each pair is met once: from the first particle in sort order, to the right in its own row and
// from one cell left to one cell right in the row above. The first few candidates each way are
// tested in lanes and kept only when in range and close enough, so the common case runs without
// unpredictable branches; the sentinels past the end end every scan.
size_t ParticleGrid::FindClosePairs() {
  const size_t count = keys_.size() - kPadding;
  const uint64_t* keys = keys_.data();
  const float* x = sortedX_.data();
  const float* y = sortedY_.data();
  const float squaredDiameter = squaredDiameter_;
  size_t found = 0;
  size_t above = 0;
  ClosePair* pairs = pairs_.data();
  // Room for `extra` more candidates, and for the windows that may follow them.
  auto reserve = [&](size_t extra) {
    if (pairs_.size() >= found + extra + kRightWindow + kAboveWindow) return;
    pairs_.resize(2 * (found + extra + kRightWindow + kAboveWindow));
    pairs = pairs_.data();
  };
  // The lanes from `first` on whose keys are up to `limit` (a prefix, since keys are sorted).
  auto keepLanes = [&](size_t a, size_t first, uint64_t limit) {
    int inRange = 0;
    for (size_t j = 0; j < kLanes; ++j) inRange += keys[first + j] <= limit ? 1 : 0;
    const int close = CloseLanes(x + first, y + first, x[a], y[a], squaredDiameter);
    const int kept = close & ((1 << inRange) - 1);
    for (size_t j = 0; j < kLanes; ++j) {
      pairs[found] = {static_cast<uint32_t>(a), static_cast<uint32_t>(first + j)};
      found += static_cast<size_t>((kept >> j) & 1);
    }
  };
  auto keepOverflow = [&](size_t a, size_t b) {
    reserve(1);
    const float dx = x[b] - x[a];
    const float dy = y[b] - y[a];
    pairs[found] = {static_cast<uint32_t>(a), static_cast<uint32_t>(b)};
    found += dx * dx + dy * dy < squaredDiameter ? 1 : 0;
  };
  for (size_t a = 0; a < count; ++a) {
    reserve(0);
    const uint64_t rightLimit = keys[a] + kCellX;
    keepLanes(a, a + 1, rightLimit);
    for (size_t b = a + 1 + kRightWindow; keys[b] <= rightLimit; ++b) keepOverflow(a, b);

    while (keys[above] < keys[a] + kRowStep - kCellX) ++above;
    const uint64_t aboveLimit = keys[a] + kRowStep + kCellX;
    for (size_t j = 0; j < kAboveWindow; j += kLanes) keepLanes(a, above + j, aboveLimit);
    for (size_t b = above + kAboveWindow; keys[b] <= aboveLimit; ++b) keepOverflow(a, b);
  }
  return found;
}
