#include "support/frame_script.h"

#include "app/app_context.h"
#include "app/application.h"
#include "world/world_container.h"

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
    if (const std::function<void()> show = world.step()) show();
  }
}

void FrameScript::runScreens(int frames) {
  for (int i = 0; i < frames && currentScreen() != nullptr; ++i) runMainLoopFrame();
}
