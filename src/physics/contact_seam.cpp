#include "physics/contact_seam.h"

#include <algorithm>

namespace {

// The highest slot met by contacts first .. last-1 (each names its lower slot first).
int32_t Reach(const ParticleContact* contacts, int32_t first, int32_t last) {
  int32_t highest = -1;
  for (int32_t k = first; k < last; ++k) highest = std::max(highest, contacts[k].slotB);
  return highest;
}

}  // namespace

bool ContactSeam::Plan(const ParticleContact* contacts, int32_t count) {
  const int32_t quarter = count / 4;
  if (quarter < kMinStream) return false;
  seamStart_ = contacts[2 * quarter].slotA;
  seamEnd_ = Reach(contacts, 0, 2 * quarter);
  if (contacts[3 * quarter].slotA <= seamEnd_) return false;
  RecordThirdStream(contacts + 2 * quarter, quarter);
  return PlanFirstStreams(contacts, contacts + quarter, quarter);
}

// Notes the last position at which the third stream meets each seam particle. Contacts come in
// order of their first slot, so those that meet the seam come first.
void ContactSeam::RecordThirdStream(const ParticleContact* third, int32_t quarter) {
  lastThirdTouch_.assign(seamEnd_ - seamStart_ + 1, -1);
  int32_t k = 0;
  for (; k < quarter && third[k].slotA <= seamEnd_; ++k) {
    lastThirdTouch_[third[k].slotA - seamStart_] = k;
    if (third[k].slotB <= seamEnd_) lastThirdTouch_[third[k].slotB - seamStart_] = k;
  }
  thirdLeavesSeam_ = k;
}

// Finds where the first two streams first meet the seam and, for each block from there on, the
// third stream's position they must wait for; fails when they would meet a seam particle at or
// before a position at which the third stream still meets it.
bool ContactSeam::PlanFirstStreams(const ParticleContact* first, const ParticleContact* second,
                                   int32_t quarter) {
  int32_t k = 0;
  while (k < quarter && first[k].slotB < seamStart_ && second[k].slotB < seamStart_) ++k;
  entersSeam_ = k;
  waits_.clear();
  int32_t wait = -1;
  for (; k < quarter; ++k) {
    const int32_t touch = std::max(LastThirdTouch(first[k]), LastThirdTouch(second[k]));
    if (touch >= k) return false;
    wait = std::max(wait, touch);
    if ((k - entersSeam_) % kBlock == kBlock - 1 || k == quarter - 1) waits_.push_back(wait);
  }
  return true;
}

// The last position at which the third stream meets either particle of the contact; -1: none.
int32_t ContactSeam::LastThirdTouch(const ParticleContact& contact) const {
  return std::max(LastThirdTouch(contact.slotA), LastThirdTouch(contact.slotB));
}

int32_t ContactSeam::LastThirdTouch(int32_t slot) const {
  if (slot < seamStart_ || slot > seamEnd_) return -1;
  return lastThirdTouch_[slot - seamStart_];
}
