#include "physics/particle_grid.h"

#include <cmath>
#include <cstddef>

#include "physics/worker_thread.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Cell coordinates are clamped to this, far beyond any level, so keys never wrap.
constexpr float kCoordinateLimit = 1.0e9f;
constexpr uint32_t kBias = 0x80000000u;
// Radix sort only while the occupied rows and columns fit this many buckets.
constexpr uint32_t kMaxBuckets = 1u << 18;

// The lanes set in each four-bit mask, in order (the rest 0), and how many they are.
struct alignas(16) LaneSet {
  uint32_t lanes[4];
  uint32_t count;
};
constexpr LaneSet kLaneSets[16] = {
    {{0, 0, 0, 0}, 0}, {{0, 0, 0, 0}, 1}, {{1, 0, 0, 0}, 1}, {{0, 1, 0, 0}, 2},
    {{2, 0, 0, 0}, 1}, {{0, 2, 0, 0}, 2}, {{1, 2, 0, 0}, 2}, {{0, 1, 2, 0}, 3},
    {{3, 0, 0, 0}, 1}, {{0, 3, 0, 0}, 2}, {{1, 3, 0, 0}, 2}, {{0, 1, 3, 0}, 3},
    {{2, 3, 0, 0}, 2}, {{0, 2, 3, 0}, 3}, {{1, 2, 3, 0}, 3}, {{0, 1, 2, 3}, 4}};

// Bit k is set when slot b + k comes before end and lies closer to `from` than the square root
// of squaredDiameter.
inline uint32_t CloseLanes(const float* x, const float* y, const b2Vec2& from,
                           float squaredDiameter, size_t b, size_t end) {
#if defined(__SSE2__)
  const __m128 dx = _mm_sub_ps(_mm_loadu_ps(x + b), _mm_set1_ps(from.x));
  const __m128 dy = _mm_sub_ps(_mm_loadu_ps(y + b), _mm_set1_ps(from.y));
  const __m128 squaredDistance = _mm_add_ps(_mm_mul_ps(dx, dx), _mm_mul_ps(dy, dy));
  const __m128 close = _mm_cmplt_ps(squaredDistance, _mm_set1_ps(squaredDiameter));
  const __m128i lane =
      _mm_add_epi32(_mm_set1_epi32(static_cast<int32_t>(b)), _mm_setr_epi32(0, 1, 2, 3));
  const __m128i before = _mm_cmplt_epi32(lane, _mm_set1_epi32(static_cast<int32_t>(end)));
  return static_cast<uint32_t>(_mm_movemask_ps(_mm_and_ps(close, _mm_castsi128_ps(before))));
#else
  uint32_t lanes = 0;
  for (size_t k = 0; k < 4; ++k) {
    const float dx = x[b + k] - from.x;
    const float dy = y[b + k] - from.y;
    const bool close = b + k < end && dx * dx + dy * dy < squaredDiameter;
    lanes |= close ? 1u << k : 0u;
  }
  return lanes;
#endif
}

// The square root without the library's check for negative input (a squared distance never is).
inline float SquareRoot(float v) {
#if defined(__SSE__)
  return _mm_cvtss_f32(_mm_sqrt_ss(_mm_set1_ps(v)));
#else
  return std::sqrt(v);
#endif
}

// Writes the pairs (a, b + k) for the lanes k of the set to pairs[0 ..]; all four entries are
// written, those past the set's count as scratch.
template <typename Pair>
inline void WriteLanes(const LaneSet& set, uint32_t a, uint32_t b, Pair* pairs) {
#if defined(__SSE2__)
  const __m128i second = _mm_add_epi32(_mm_set1_epi32(static_cast<int32_t>(b)),
                                       _mm_load_si128(reinterpret_cast<const __m128i*>(set.lanes)));
  const __m128i first = _mm_set1_epi32(static_cast<int32_t>(a));
  static_assert(sizeof(Pair) == 8, "a pair is two 32-bit slots");
  __m128i* out = reinterpret_cast<__m128i*>(pairs);
  _mm_storeu_si128(out, _mm_unpacklo_epi32(first, second));
  _mm_storeu_si128(out + 1, _mm_unpackhi_epi32(first, second));
#else
  for (size_t k = 0; k < 4; ++k) pairs[k] = {a, b + set.lanes[k]};
#endif
}

// The first position from `from` on whose key is above limit. A cursor of the sweep moves about
// one key per particle, a count that varies from one to the next and defeats branch prediction,
// so the first two steps are taken without a branch and the loop seldom runs.
inline size_t SkipKeysUpTo(const uint64_t* keys, size_t from, uint64_t limit) {
  size_t k = from;
  k += keys[k] <= limit ? 1 : 0;
  k += keys[k] <= limit ? 1 : 0;
  while (keys[k] <= limit) ++k;
  return k;
}

// floor(v) as a biased unsigned, so that unsigned order is numeric order; NaN goes low.
uint32_t BiasedFloor(float v) {
  if (!(v > -kCoordinateLimit)) v = -kCoordinateLimit;
  if (v > kCoordinateLimit) v = kCoordinateLimit;
  int32_t i = static_cast<int32_t>(v);
  if (v < static_cast<float>(i)) --i;
  return static_cast<uint32_t>(i) + kBias;
}

#if defined(__SSE2__)
// BiasedFloor's clamp and floor for four values, before the bias: NaN goes low as there (the
// maximum returns its second operand when the first is NaN).
inline __m128i FourFloors(__m128 v) {
  v = _mm_min_ps(_mm_max_ps(v, _mm_set1_ps(-kCoordinateLimit)), _mm_set1_ps(kCoordinateLimit));
  const __m128i truncated = _mm_cvttps_epi32(v);
  // Truncation rounds negative values up; one less where it did (the mask is -1 there).
  return _mm_add_epi32(truncated, _mm_castps_si128(_mm_cmplt_ps(v, _mm_cvtepi32_ps(truncated))));
}

// Lane by lane minimum and maximum of signed integers (SSE2 compares but has no min or max).
inline __m128i FourMin(__m128i a, __m128i b) {
  const __m128i aGreater = _mm_cmpgt_epi32(a, b);
  return _mm_or_si128(_mm_and_si128(aGreater, b), _mm_andnot_si128(aGreater, a));
}

inline __m128i FourMax(__m128i a, __m128i b) {
  const __m128i aGreater = _mm_cmpgt_epi32(a, b);
  return _mm_or_si128(_mm_and_si128(aGreater, a), _mm_andnot_si128(aGreater, b));
}
#endif

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

void ParticleGrid::Build(const b2Vec2* positions, int32_t count, WorkerThread* worker) {
  const size_t n = static_cast<size_t>(count);
  unsortedKeys_.resize(n);
  // The sort writes every key; only the sentinels past them need setting.
  keys_.resize(n + kPadding);
  std::fill(keys_.begin() + n, keys_.end(), kSentinel);
  indices_.resize(n);
  if (n == 0) return;
  CellRange halves[2];
  WorkerThread::SplitInHalves(worker, n, [&](size_t first, size_t last) {
    halves[last == n ? 1 : 0] = MakeKeys(positions, first, last);  // the upper half ends at n
  });
  const CellRange range = halves[0].Union(halves[1]);
  if (range.rowHigh - range.rowLow < kMaxBuckets && range.xHigh - range.xLow < kMaxBuckets) {
    RadixSort(range.rowLow, range.rowHigh - range.rowLow + 1, range.xLow,
              range.xHigh - range.xLow + 1);
  } else {
    ComparisonSort();
  }
  sortedX_.resize(n + kPadding);
  sortedY_.resize(n + kPadding);
  std::fill(sortedX_.begin() + n, sortedX_.end(), 0.0f);
  std::fill(sortedY_.begin() + n, sortedY_.end(), 0.0f);
  WorkerThread::SplitInHalves(worker, n, [&](size_t first, size_t last) {
    for (size_t k = first; k < last; ++k) {
      sortedX_[k] = positions[indices_[k]].x;
      sortedY_[k] = positions[indices_[k]].y;
    }
  });
}

// Writes the keys of particles first .. last-1 and returns the cells they span.
ParticleGrid::CellRange ParticleGrid::MakeKeys(const b2Vec2* positions, size_t first, size_t last) {
  CellRange range;
  size_t i = first;
#if defined(__SSE2__)
  i = MakeFourKeysAtATime(positions, first, last, &range);
#endif
  for (; i < last; ++i) {
    const uint32_t row = RowOf(positions[i].y);
    const uint32_t x = XOf(positions[i].x);
    unsortedKeys_[i] = MakeKey(row, x);
    range.rowLow = std::min(range.rowLow, row);
    range.rowHigh = std::max(range.rowHigh, row);
    range.xLow = std::min(range.xLow, x);
    range.xHigh = std::max(range.xHigh, x);
  }
  return range;
}

#if defined(__SSE2__)
// MakeKeys for four particles at a time through SSE's lanes, with the same keys; stops where
// fewer than four are left and returns the first particle not done. The cells' bounds are kept
// as signed cells (the biased ones order as those do) and merged into *range.
size_t ParticleGrid::MakeFourKeysAtATime(const b2Vec2* positions, size_t first, size_t last,
                                         CellRange* range) {
  const __m128 inverseDiameter = _mm_set1_ps(inverseDiameter_);
  const __m128 cellX = _mm_set1_ps(static_cast<float>(kCellX));
  const __m128i bias = _mm_set1_epi32(static_cast<int32_t>(kBias));
  __m128i rowLow = _mm_set1_epi32(INT32_MAX), rowHigh = _mm_set1_epi32(INT32_MIN);
  __m128i xLow = rowLow, xHigh = rowHigh;
  size_t i = first;
  for (; i + 4 <= last; i += 4) {
    const __m128 points01 = _mm_loadu_ps(&positions[i].x);
    const __m128 points23 = _mm_loadu_ps(&positions[i + 2].x);
    const __m128 x = _mm_shuffle_ps(points01, points23, _MM_SHUFFLE(2, 0, 2, 0));
    const __m128 y = _mm_shuffle_ps(points01, points23, _MM_SHUFFLE(3, 1, 3, 1));
    const __m128i row = FourFloors(_mm_mul_ps(y, inverseDiameter));
    const __m128i column = FourFloors(_mm_mul_ps(_mm_mul_ps(x, inverseDiameter), cellX));
    const __m128i biasedRow = _mm_add_epi32(row, bias);
    const __m128i biasedColumn = _mm_add_epi32(column, bias);
    __m128i* keys = reinterpret_cast<__m128i*>(&unsortedKeys_[i]);
    _mm_storeu_si128(keys, _mm_unpacklo_epi32(biasedColumn, biasedRow));
    _mm_storeu_si128(keys + 1, _mm_unpackhi_epi32(biasedColumn, biasedRow));
    rowLow = FourMin(rowLow, row);
    rowHigh = FourMax(rowHigh, row);
    xLow = FourMin(xLow, column);
    xHigh = FourMax(xHigh, column);
  }
  if (i == first) return i;
  alignas(16) int32_t lanes[4][4];
  _mm_store_si128(reinterpret_cast<__m128i*>(lanes[0]), rowLow);
  _mm_store_si128(reinterpret_cast<__m128i*>(lanes[1]), rowHigh);
  _mm_store_si128(reinterpret_cast<__m128i*>(lanes[2]), xLow);
  _mm_store_si128(reinterpret_cast<__m128i*>(lanes[3]), xHigh);
  for (int k = 0; k < 4; ++k) {
    range->rowLow = std::min(range->rowLow, static_cast<uint32_t>(lanes[0][k]) + kBias);
    range->rowHigh = std::max(range->rowHigh, static_cast<uint32_t>(lanes[1][k]) + kBias);
    range->xLow = std::min(range->xLow, static_cast<uint32_t>(lanes[2][k]) + kBias);
    range->xHigh = std::max(range->xHigh, static_cast<uint32_t>(lanes[3][k]) + kBias);
  }
  return i;
}
#endif

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

int32_t ParticleGrid::FindContacts(std::vector<ParticleContact>* contacts, float* weights,
                                   WorkerThread* worker) {
  const size_t count = indices_.size();
  std::fill(weights, weights + count, 0.0f);
  if (worker == nullptr) {
    const size_t found = FindClosePairs(0, count, &pairs_);
    if (contacts->size() < found) contacts->resize(found + found / 2);
    MeasureContacts<true>(pairs_.data(), found, contacts->data(), weights);
    return static_cast<int32_t>(found);
  }
  // The worker takes the second half of the first slots; its contacts follow the first half's,
  // and their weights are summed here afterwards, so every sum keeps the order of the pairs.
  const size_t middle = count / 2;
  size_t secondFound = 0;
  worker->Run([&] { secondFound = FindClosePairs(middle, count, &secondPairs_); });
  const size_t firstFound = FindClosePairs(0, middle, &pairs_);
  worker->Wait();
  const size_t found = firstFound + secondFound;
  if (contacts->size() < found) contacts->resize(found + found / 2);
  ParticleContact* out = contacts->data();
  worker->Run(
      [&] { MeasureContacts<false>(secondPairs_.data(), secondFound, out + firstFound, nullptr); });
  MeasureContacts<true>(pairs_.data(), firstFound, out, weights);
  worker->Wait();
  SumWeights(out + firstFound, secondFound, weights);
  return static_cast<int32_t>(found);
}

int32_t ParticleGrid::FirstSlotOfRowBelow(int32_t slot) const {
  const uint32_t row = static_cast<uint32_t>(keys_[slot] >> 32);
  if (row == 0) return 0;
  return static_cast<int32_t>(LowerBound(0, MakeKey(row - 1, 0)));
}

// Each pair's weight is added to both of its particles' sums in the order of the pairs, so every
// sum is taken in the same order whatever the grouping into fours. Without kSumWeights, only the
// contacts are written and weights is not used.
template <bool kSumWeights>
void ParticleGrid::MeasureContacts(const ClosePair* pairs, size_t count, ParticleContact* out,
                                   float* weights) const {
  size_t k = 0;
#if defined(__SSE2__)
  for (; k + kLanes <= count; k += kLanes) {
    const __m128 weight = MeasureFourContacts(pairs + k, out + k);
    if (kSumWeights) {
      AddWeight(pairs[k], _mm_cvtss_f32(weight), weights);
      AddWeight(pairs[k + 1], _mm_cvtss_f32(_mm_shuffle_ps(weight, weight, 1)), weights);
      AddWeight(pairs[k + 2], _mm_cvtss_f32(_mm_shuffle_ps(weight, weight, 2)), weights);
      AddWeight(pairs[k + 3], _mm_cvtss_f32(_mm_shuffle_ps(weight, weight, 3)), weights);
    }
  }
#endif
  for (; k < count; ++k) {
    const float weight = MeasureContact(pairs[k], out + k);
    if (kSumWeights) AddWeight(pairs[k], weight, weights);
  }
}

// Writes the contact of one pair and returns its weight.
float ParticleGrid::MeasureContact(const ClosePair& pair, ParticleContact* out) const {
  const b2Vec2 d(sortedX_[pair.b] - sortedX_[pair.a], sortedY_[pair.b] - sortedY_[pair.a]);
  const float distance = SquareRoot(d.x * d.x + d.y * d.y);
  const float inverse = distance > 0.0f ? 1.0f / distance : 0.0f;
  const float weight = 1.0f - distance * inverseDiameter_;
  *out = {static_cast<int32_t>(pair.a), static_cast<int32_t>(pair.b), weight,
          b2Vec2(d.x * inverse, d.y * inverse)};
  return weight;
}

#if defined(__SSE2__)
// MeasureContact for four pairs side by side in SSE's lanes, with the same figures to the bit (the
// lanes round as the scalar operations do); the square roots and divisions, the slow part, go
// four at a time. Returns the four weights.
__m128 ParticleGrid::MeasureFourContacts(const ClosePair* pairs, ParticleContact* out) const {
  static_assert(sizeof(ParticleContact) == 20 && offsetof(ParticleContact, normal) == 12,
                "a contact is slotA, slotB, weight, normal.x as four lanes, then normal.y");
  const float* x = sortedX_.data();
  const float* y = sortedY_.data();
  const uint32_t a0 = pairs[0].a, a1 = pairs[1].a, a2 = pairs[2].a, a3 = pairs[3].a;
  const uint32_t b0 = pairs[0].b, b1 = pairs[1].b, b2 = pairs[2].b, b3 = pairs[3].b;
  const __m128 dx =
      _mm_sub_ps(_mm_setr_ps(x[b0], x[b1], x[b2], x[b3]), _mm_setr_ps(x[a0], x[a1], x[a2], x[a3]));
  const __m128 dy =
      _mm_sub_ps(_mm_setr_ps(y[b0], y[b1], y[b2], y[b3]), _mm_setr_ps(y[a0], y[a1], y[a2], y[a3]));
  const __m128 distance = _mm_sqrt_ps(_mm_add_ps(_mm_mul_ps(dx, dx), _mm_mul_ps(dy, dy)));
  // A zero distance gives an infinite quotient, masked to the scalar code's zero.
  const __m128 inverse =
      _mm_and_ps(_mm_cmpgt_ps(distance, _mm_setzero_ps()), _mm_div_ps(_mm_set1_ps(1.0f), distance));
  const __m128 weight =
      _mm_sub_ps(_mm_set1_ps(1.0f), _mm_mul_ps(distance, _mm_set1_ps(inverseDiameter_)));
  const __m128 normalY = _mm_mul_ps(dy, inverse);
  // Rows of (slotA, slotB, weight, normal.x) from the columns, each followed by its normal.y.
  const __m128 pairs01 = _mm_loadu_ps(reinterpret_cast<const float*>(pairs));
  const __m128 pairs23 = _mm_loadu_ps(reinterpret_cast<const float*>(pairs + 2));
  __m128 slotA = _mm_shuffle_ps(pairs01, pairs23, _MM_SHUFFLE(2, 0, 2, 0));
  __m128 slotB = _mm_shuffle_ps(pairs01, pairs23, _MM_SHUFFLE(3, 1, 3, 1));
  __m128 weightColumn = weight;
  __m128 normalX = _mm_mul_ps(dx, inverse);
  _MM_TRANSPOSE4_PS(slotA, slotB, weightColumn, normalX);
  float* row = reinterpret_cast<float*>(out);
  constexpr size_t kRow = sizeof(ParticleContact) / sizeof(float);
  _mm_storeu_ps(row, slotA);
  _mm_storeu_ps(row + kRow, slotB);
  _mm_storeu_ps(row + 2 * kRow, weightColumn);
  _mm_storeu_ps(row + 3 * kRow, normalX);
  _mm_store_ss(row + 4, normalY);
  _mm_store_ss(row + kRow + 4, _mm_shuffle_ps(normalY, normalY, 1));
  _mm_store_ss(row + 2 * kRow + 4, _mm_shuffle_ps(normalY, normalY, 2));
  _mm_store_ss(row + 3 * kRow + 4, _mm_shuffle_ps(normalY, normalY, 3));
  return weight;
}
#endif

void ParticleGrid::AddWeight(const ClosePair& pair, float weight, float* weights) {
  weights[pair.a] += weight;
  weights[pair.b] += weight;
}

// The weights of contacts measured without them, summed in the same order as MeasureContacts.
void ParticleGrid::SumWeights(const ParticleContact* contacts, size_t count, float* weights) {
  for (size_t k = 0; k < count; ++k) {
    weights[contacts[k].slotA] += contacts[k].weight;
    weights[contacts[k].slotB] += contacts[k].weight;
  }
}

// Each pair is met once: from the first particle in sort order, to the right in its own row and
// from one cell left to one cell right in the row above. Both ranges only move forward as the
// first particle does, so three cursors keep them; their candidates are tested four at a time
// and the close ones written without a branch. Finds the pairs whose first slot lies in
// begin .. end-1, writes them to the front of *pairs and returns how many.
size_t ParticleGrid::FindClosePairs(size_t begin, size_t end, std::vector<ClosePair>* pairs) const {
  const uint64_t* keys = keys_.data();
  size_t found = 0;
  size_t rightEnd = begin;
  size_t aboveBegin = begin < end ? LowerBound(begin, keys[begin] + kRowStep - kCellX) : begin;
  size_t aboveEnd = aboveBegin;
  for (size_t a = begin; a < end; ++a) {
    const uint64_t key = keys[a];
    rightEnd = SkipKeysUpTo(keys, std::max(rightEnd, a + 1), key + kCellX);
    aboveBegin = SkipKeysUpTo(keys, aboveBegin, key + kRowStep - kCellX - 1);
    aboveEnd = SkipKeysUpTo(keys, std::max(aboveEnd, aboveBegin), key + kRowStep + kCellX);
    const size_t candidates = (rightEnd - a - 1) + (aboveEnd - aboveBegin);
    if (pairs->size() < found + candidates + 2 * kLanes) {
      pairs->resize(2 * (found + candidates + 2 * kLanes));
    }
    found = KeepClosePairs(a, a + 1, rightEnd, pairs->data(), found);
    found = KeepClosePairs(a, aboveBegin, aboveEnd, pairs->data(), found);
  }
  return found;
}

// Appends (a, b) from pairs[found] on for every b in first .. end-1 closer than a diameter to a;
// returns the new count. Writes up to kLanes - 1 entries of scratch past it.
size_t ParticleGrid::KeepClosePairs(size_t a, size_t first, size_t end, ClosePair* pairs,
                                    size_t found) const {
  const b2Vec2 from(sortedX_[a], sortedY_[a]);
  for (size_t b = first; b < end; b += kLanes) {
    const LaneSet& close =
        kLaneSets[CloseLanes(sortedX_.data(), sortedY_.data(), from, squaredDiameter_, b, end)];
    WriteLanes(close, static_cast<uint32_t>(a), static_cast<uint32_t>(b), pairs + found);
    found += close.count;
  }
  return found;
}
