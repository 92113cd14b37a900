#include "app/transition.h"

Transition& Transition::hold(int frames) {
  steps_.push_back({Step::kHold, frames, nullptr});
  return *this;
}

Transition& Transition::capture() {
  steps_.push_back({Step::kCapture, 0, nullptr});
  return *this;
}

Transition& Transition::fade(int frames) {
  steps_.push_back({Step::kFade, frames, nullptr});
  return *this;
}

Transition& Transition::then(std::function<void()> work) {
  return thenPlay([work = std::move(work)] {
    work();
    return Transition();
  });
}

Transition& Transition::thenPlay(Work work) {
  steps_.push_back({Step::kWork, 0, std::move(work)});
  return *this;
}

Transition& Transition::append(const Transition& next) {
  steps_.insert(steps_.end(), next.steps_.begin(), next.steps_.end());
  return *this;
}
