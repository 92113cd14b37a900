#include "support/frame_script.h"

#include "app/app_context.h"
#include "app/application.h"
#include "app/screen_frames.h"
#include "app/transition.h"
#include "world/world_container.h"

void playOut(const Transition& transition) {
  playNext(transition);
  while (settleTransitions()) presentTransitionFrame();
}

FrameScript::FrameScript() {
  setScriptedInput(&input_);
}

FrameScript::~FrameScript() {
  setScriptedInput(nullptr);
}

FrameScript& FrameScript::hold(SDL_Scancode key) {
  input_.hold(key);
  return *this;
}

FrameScript& FrameScript::release(SDL_Scancode key) {
  input_.release(key);
  return *this;
}

FrameScript& FrameScript::holdButtons(Uint32 mask) {
  input_.buttons |= mask;
  return *this;
}

FrameScript& FrameScript::releaseButtons(Uint32 mask) {
  input_.buttons &= ~mask;
  return *this;
}

FrameScript& FrameScript::releaseAll() {
  input_.releaseAll();
  return *this;
}

void FrameScript::play(WorldContainer& world, int frames) {
  for (int i = 0; i < frames; ++i) {
    pollInput();
    if (const std::optional<StageChange> change = world.step()) playOut(world.changeStage(*change));
  }
}

void FrameScript::runScreens(int frames) {
  for (int i = 0; i < frames && currentScreen() != nullptr; ++i) runMainLoopFrame();
}
