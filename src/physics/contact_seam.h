#pragma once

#include <cstdint>
#include <vector>

#include "physics/particle_contact.h"

// The contact passes run over the contacts as four interleaved streams, the four quarters of the
// list side by side (position k of each in turn). A second thread may take the last two streams
// when that changes no result: the fourth stream must share no particle with the first two, and
// every particle the first two share with the third (the seam) must be met by the third stream
// only at earlier positions than by the first two. These then wait, block by block, for the
// third to be done with the seam particles the block meets. The plan is worked out afresh for
// each sub-step's contacts.
class ContactSeam {
 public:
  static constexpr int32_t kBlock = 64;  // stream positions between progress reports
  // Shorter streams are not worth sharing: the seam would be most of them.
  static constexpr int32_t kMinStream = 256;

  // Returns whether the last two streams of these contacts may run on another thread.
  bool Plan(const ParticleContact* contacts, int32_t count);

  // The first two streams may run freely up to this position.
  int32_t EntersSeam() const { return entersSeam_; }
  // The third stream must have finished this position (-1: none) before the first two run the
  // block of positions from EntersSeam() + block * kBlock on.
  int32_t ThirdPositionBefore(int32_t block) const { return waits_[block]; }
  // From this position on the third stream meets no seam particle.
  int32_t ThirdLeavesSeam() const { return thirdLeavesSeam_; }

 private:
  void RecordThirdStream(const ParticleContact* third, int32_t quarter);
  bool PlanFirstStreams(const ParticleContact* first, const ParticleContact* second,
                        int32_t quarter);
  int32_t LastThirdTouch(const ParticleContact& contact) const;
  int32_t LastThirdTouch(int32_t slot) const;

  int32_t seamStart_ = 0;  // slots seamStart_ .. seamEnd_ form the seam
  int32_t seamEnd_ = 0;
  int32_t entersSeam_ = 0;
  int32_t thirdLeavesSeam_ = 0;
  std::vector<int32_t> lastThirdTouch_;  // by slot - seamStart_; -1: never
  std::vector<int32_t> waits_;
};
