#include "app/gamepad_input.h"

#include <algorithm>
#include <cstdio>

namespace {

// A stick resting near its centre is not a step: worn sticks never quite return to zero.
constexpr Sint16 kStickDeadZone = 8000;  // axis units of ±32767, about a quarter of the travel
// The trigger runs once it is pressed past half its travel.
constexpr Sint16 kTriggerHalfWay = SDL_JOYSTICK_AXIS_MAX / 2;  // axis units

struct ButtonKey {
  SDL_GameControllerButton button;
  SDL_Scancode key;
};

// SDL names the face buttons after their places on an Xbox pad: A south, B east, X west, Y north.
constexpr ButtonKey kButtonKeys[] = {
    {SDL_CONTROLLER_BUTTON_A, SDL_SCANCODE_SPACE},          // jump; start and continue
    {SDL_CONTROLLER_BUTTON_B, SDL_SCANCODE_Q},              // dodge
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_SCANCODE_1},   // bare hands
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, SDL_SCANCODE_2},  // light blade
    {SDL_CONTROLLER_BUTTON_Y, SDL_SCANCODE_3},              // heavy maul
    {SDL_CONTROLLER_BUTTON_BACK, SDL_SCANCODE_ESCAPE},      // quit from the title or game over
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_SCANCODE_A},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_SCANCODE_D},
};

// The attack button, like the mouse's left button, attacks once per press.
constexpr SDL_GameControllerButton kAttackButton = SDL_CONTROLLER_BUTTON_X;

void addStickKeys(SDL_GameController* controller, std::array<Uint8, SDL_NUM_SCANCODES>& keys) {
  const Sint16 across = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX);
  if (across <= -kStickDeadZone) keys[SDL_SCANCODE_A] = 1;
  if (across >= kStickDeadZone) keys[SDL_SCANCODE_D] = 1;
}

}  // namespace

void GamepadInput::handleEvent(const SDL_Event& event) {
  if (event.type == SDL_CONTROLLERDEVICEADDED) open(event.cdevice.which);
  if (event.type == SDL_CONTROLLERDEVICEREMOVED) close(event.cdevice.which);
}

void GamepadInput::addHeldKeys(std::array<Uint8, SDL_NUM_SCANCODES>& keys) const {
  for (SDL_GameController* controller : controllers_) {
    for (const ButtonKey& mapping : kButtonKeys) {
      if (SDL_GameControllerGetButton(controller, mapping.button) != 0) keys[mapping.key] = 1;
    }
    addStickKeys(controller, keys);
  }
}

Uint32 GamepadInput::heldMouseButtons() const {
  Uint32 buttons = 0;
  for (SDL_GameController* controller : controllers_) {
    if (SDL_GameControllerGetButton(controller, kAttackButton) != 0) buttons |= SDL_BUTTON_LMASK;
    if (SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_TRIGGERRIGHT) > kTriggerHalfWay) {
      buttons |= SDL_BUTTON_RMASK;
    }
  }
  return buttons;
}

void GamepadInput::open(int deviceIndex) {
  // Buttons count by where they sit, not by what is printed on them: jump is the bottom face
  // button on every pad, whoever made it.
  SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
  SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
  if (controller == nullptr) {
    std::fprintf(stderr, "Tarnwick: controller %d cannot be opened: %s\n", deviceIndex,
                 SDL_GetError());
    return;
  }
  // Opening an open controller only adds a reference to it; one is enough.
  if (std::find(controllers_.begin(), controllers_.end(), controller) != controllers_.end()) {
    SDL_GameControllerClose(controller);
    return;
  }
  controllers_.push_back(controller);
}

void GamepadInput::reopenAll() {
  for (SDL_GameController* controller : controllers_) SDL_GameControllerClose(controller);
  controllers_.clear();
  for (int device = 0; device < SDL_NumJoysticks(); ++device) {
    if (SDL_IsGameController(device)) open(device);
  }
}

void GamepadInput::close(SDL_JoystickID instance) {
  const auto unplugged = std::find(controllers_.begin(), controllers_.end(),
                                   SDL_GameControllerFromInstanceID(instance));
  if (unplugged == controllers_.end()) return;
  SDL_GameControllerClose(*unplugged);
  controllers_.erase(unplugged);
}
