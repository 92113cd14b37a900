#pragma once

#include <cstdint>
#include <vector>

#include "physics/particle_contact.h"

// The contact passes run over the contacts as four interleaved streams, the four quarters of the
// list side by side (position k of each in turn). A second thread, the worker, takes the last
// two streams, and each thread waits where it would otherwise meet a particle out of turn: every
// particle that both threads meet (the seam) is met in the order of the single-thread run, so
// the results are the same to the bit. The plan says, for each position of either thread, how
// far the other must have come first; it is worked out afresh for each sub-step's contacts.
class ContactSeam {
 public:
  // Shorter streams are not worth sharing: the seam would be most of them.
  static constexpr int32_t kMinStream = 256;

  // Plans the waits for these contacts; false when they are too few to share.
  bool Plan(const ParticleContact* contacts, int32_t count);

  // The number of positions the worker must have finished before the first two streams run
  // position k (0: none).
  int32_t WorkerBefore(int32_t k) const { return workerBefore_[k]; }
  // The number of positions the first two streams must have finished before the worker runs
  // position k of the last two (0: none).
  int32_t MainBefore(int32_t k) const { return mainBefore_[k]; }

 private:
  void Meet(const ParticleContact& contact, int32_t position, bool worker);
  void Meet(int32_t slot, int32_t position, bool worker);

  int32_t seamStart_ = 0;  // slots seamStart_ .. seamEnd_ may be met by both threads
  int32_t seamEnd_ = 0;
  // Per seam slot: 2 × (last position that met it + 1) + 1 if the worker met it; 0: not yet.
  std::vector<int32_t> lastMeeting_;
  std::vector<int32_t> workerBefore_;  // by position
  std::vector<int32_t> mainBefore_;
};
