#include "app/touch_controls.h"

namespace {

// The page reports the controls held as these bits (web/index.html numbers its controls alike).
enum TouchAction : Uint32 {
  kWalkLeft = 1u << 0,
  kWalkRight = 1u << 1,
  kRun = 1u << 2,
  kJump = 1u << 3,
  kAttack = 1u << 4,
  kDodge = 1u << 5,
  kBarePaws = 1u << 6,
  kBlade = 1u << 7,
  kMaul = 1u << 8,
  kStart = 1u << 9,
};

struct ActionKey {
  Uint32 action;
  SDL_Scancode key;
};

constexpr ActionKey kActionKeys[] = {
    {kWalkLeft, SDL_SCANCODE_A}, {kWalkRight, SDL_SCANCODE_D}, {kJump, SDL_SCANCODE_SPACE},
    {kDodge, SDL_SCANCODE_Q},    {kBarePaws, SDL_SCANCODE_1},  {kBlade, SDL_SCANCODE_2},
    {kMaul, SDL_SCANCODE_3},     {kStart, SDL_SCANCODE_SPACE},
};

}  // namespace

void TouchControls::poll() {
  heldActions_ = takeHeldActions();
}

void TouchControls::addHeldKeys(std::array<Uint8, SDL_NUM_SCANCODES>& keys) const {
  for (const ActionKey& mapping : kActionKeys) {
    if ((heldActions_ & mapping.action) != 0) keys[mapping.key] = 1;
  }
}

Uint32 TouchControls::heldMouseButtons() const {
  Uint32 buttons = 0;
  if ((heldActions_ & kAttack) != 0) buttons |= SDL_BUTTON_LMASK;
  if ((heldActions_ & kRun) != 0) buttons |= SDL_BUTTON_RMASK;
  return buttons;
}
