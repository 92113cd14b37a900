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

// Replays the single-thread order over the contacts that can meet the seam: the worker's meet it
// from its first position until its contacts start beyond it (they come in order of their first
// slot), the first two streams' from where they first reach into it.
bool ContactSeam::Plan(const ParticleContact* contacts, int32_t count) {
  const int32_t quarter = count / 4;
  if (quarter < kMinStream) return false;
  seamStart_ = contacts[2 * quarter].slotA;
  seamEnd_ = Reach(contacts, 0, 2 * quarter);
  workerBefore_.assign(quarter, 0);
  mainBefore_.assign(quarter, 0);
  if (seamEnd_ < seamStart_) return true;
  lastMeeting_.assign(seamEnd_ - seamStart_ + 1, 0);
  const ParticleContact* first = contacts;
  const ParticleContact* second = contacts + quarter;
  const ParticleContact* third = contacts + 2 * quarter;
  const ParticleContact* fourth = contacts + 3 * quarter;
  int32_t mainEnters = 0;
  while (mainEnters < quarter && first[mainEnters].slotB < seamStart_ &&
         second[mainEnters].slotB < seamStart_) {
    ++mainEnters;
  }
  int32_t workerLeaves = 0;
  while (workerLeaves < quarter &&
         (third[workerLeaves].slotA <= seamEnd_ || fourth[workerLeaves].slotA <= seamEnd_)) {
    ++workerLeaves;
  }
  for (int32_t k = 0; k < quarter; ++k) {
    if (k >= workerLeaves && k < mainEnters) k = mainEnters;
    if (k >= mainEnters) {
      Meet(first[k], k, false);
      Meet(second[k], k, false);
    }
    if (k < workerLeaves) {
      Meet(third[k], k, true);
      Meet(fourth[k], k, true);
    }
  }
  return true;
}

void ContactSeam::Meet(const ParticleContact& contact, int32_t position, bool worker) {
  Meet(contact.slotA, position, worker);
  Meet(contact.slotB, position, worker);
}

// Records that position `position` of one thread meets the slot; if the other thread met it last,
// this position must wait until the other has finished that meeting.
void ContactSeam::Meet(int32_t slot, int32_t position, bool worker) {
  if (slot < seamStart_ || slot > seamEnd_) return;
  int32_t& last = lastMeeting_[slot - seamStart_];
  if (last != 0 && ((last & 1) != 0) != worker) {
    int32_t& before = worker ? mainBefore_[position] : workerBefore_[position];
    before = std::max(before, last >> 1);
  }
  last = 2 * (position + 1) + (worker ? 1 : 0);
}
