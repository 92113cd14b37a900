// Game controllers as a second keyboard and mouse, and the keyboard alone as keyboard and mouse.
// SDL's virtual joysticks stand in for real pads, so buttons are pressed and sticks moved without
// any device.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "actors/player_entity.h"
#include "actors/player_test_arena.h"
#include "app/app_context.h"
#include "app/application.h"
#include "app/frame_pacer.h"
#include "app/input.h"
#include "app/screen_frames.h"
#include "scenes/scene_game_over.h"
#include "scenes/scene_map.h"
#include "support/frame_script.h"
#include "support/game_test.h"
#include "support/screen_test.h"
#include "support/stderr_capture.h"
#include "support/test_assets.h"
#include "world/world_container.h"

namespace {

// A standard pad on SDL's virtual joystick driver, which lays its buttons and axes out in the
// order of SDL_GameControllerButton and SDL_GameControllerAxis. Plugged in when made.
class VirtualPad {
 public:
  VirtualPad() {
    const int deviceIndex = SDL_JoystickAttachVirtual(
        SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
    joystick_ = SDL_JoystickOpen(deviceIndex);
    EXPECT_NE(nullptr, joystick_) << SDL_GetError();
    instance_ = SDL_JoystickInstanceID(joystick_);
  }
  ~VirtualPad() { unplug(); }
  VirtualPad(const VirtualPad&) = delete;
  VirtualPad& operator=(const VirtualPad&) = delete;

  void press(SDL_GameControllerButton button) {
    SDL_JoystickSetVirtualButton(joystick_, button, SDL_PRESSED);
  }
  void release(SDL_GameControllerButton button) {
    SDL_JoystickSetVirtualButton(joystick_, button, SDL_RELEASED);
  }
  // The left stick pushed sideways: -1 all the way left, 1 all the way right.
  void tiltLeftStick(float across) {
    SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTX,
                               static_cast<Sint16>(across * SDL_JOYSTICK_AXIS_MAX));
  }
  // The right trigger pressed by a share of its travel, 0 to 1.
  void pullRightTrigger(float share) {
    const float raw =
        SDL_JOYSTICK_AXIS_MIN + share * (SDL_JOYSTICK_AXIS_MAX - SDL_JOYSTICK_AXIS_MIN);
    SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_TRIGGERRIGHT,
                               static_cast<Sint16>(raw));
  }
  // Every button down, the stick pushed right and the trigger pulled; or all let go.
  void holdEverything(bool held) {
    for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button) {
      SDL_JoystickSetVirtualButton(joystick_, button, held ? SDL_PRESSED : SDL_RELEASED);
    }
    tiltLeftStick(held ? 1.0f : 0.0f);
    pullRightTrigger(held ? 1.0f : 0.0f);
  }
  void unplug() {
    if (joystick_ == nullptr) return;
    SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
    const int deviceIndex = indexOf(instance_);
    if (deviceIndex >= 0) SDL_JoystickDetachVirtual(deviceIndex);
  }
  // Announces the pad again, as SDL does for every pad present when it starts.
  void announceAgain() const {
    SDL_Event added{};
    added.type = SDL_CONTROLLERDEVICEADDED;
    added.cdevice.which = indexOf(instance_);
    SDL_PushEvent(&added);
  }
  SDL_JoystickID instance() const { return instance_; }

 private:
  static int indexOf(SDL_JoystickID instance) {
    for (int index = 0; index < SDL_NumJoysticks(); ++index) {
      if (SDL_JoystickGetDeviceInstanceID(index) == instance) return index;
    }
    return -1;
  }
  SDL_Joystick* joystick_ = nullptr;
  SDL_JoystickID instance_ = -1;
};

// SDL leaves pads alone while the game's window lacks the keyboard focus, which a window on the
// dummy display never gets.
void letPadsPlayWithoutFocus() {
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
}

// SDL's game-controller subsystem for the length of a test. On the way out the game sees its
// pads unplugged before the subsystem goes.
class ControllerSubsystem {
 public:
  ControllerSubsystem() {
    letPadsPlayWithoutFocus();
    EXPECT_EQ(0, SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER)) << SDL_GetError();
  }
  ~ControllerSubsystem() {
    pollInput();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  }
  ControllerSubsystem(const ControllerSubsystem&) = delete;
  ControllerSubsystem& operator=(const ControllerSubsystem&) = delete;
};

// Every key the game reads.
constexpr SDL_Scancode kGameKeys[] = {SDL_SCANCODE_ESCAPE, SDL_SCANCODE_SPACE, SDL_SCANCODE_A,
                                      SDL_SCANCODE_D,      SDL_SCANCODE_Q,     SDL_SCANCODE_1,
                                      SDL_SCANCODE_2,      SDL_SCANCODE_3};

std::vector<SDL_Scancode> heldGameKeys() {
  std::vector<SDL_Scancode> held;
  for (SDL_Scancode key : kGameKeys) {
    if (isKeyDown(key)) held.push_back(key);
  }
  return held;
}

using Keys = std::vector<SDL_Scancode>;

class GamepadKeys : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    pollInput();
  }

  ControllerSubsystem subsystem;
  VirtualPad pad;
  FrameScript script;
};

TEST_F(GamepadKeys, EachButtonHoldsTheKeyOfItsAction) {
  const std::pair<SDL_GameControllerButton, SDL_Scancode> layout[] = {
      {SDL_CONTROLLER_BUTTON_A, SDL_SCANCODE_SPACE},
      {SDL_CONTROLLER_BUTTON_B, SDL_SCANCODE_Q},
      {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_SCANCODE_1},
      {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, SDL_SCANCODE_2},
      {SDL_CONTROLLER_BUTTON_Y, SDL_SCANCODE_3},
      {SDL_CONTROLLER_BUTTON_BACK, SDL_SCANCODE_ESCAPE},
      {SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_SCANCODE_A},
      {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_SCANCODE_D},
  };
  for (const auto& [button, key] : layout) {
    pad.press(button);
    pollInput();
    EXPECT_EQ(Keys{key}, heldGameKeys()) << "button " << button;
    EXPECT_EQ(0u, mouseButtons());
    pad.release(button);
    pollInput();
    EXPECT_EQ(Keys{}, heldGameKeys());
  }
}

TEST_F(GamepadKeys, RightTriggerIsTheRightMouseButtonOncePastHalfWay) {
  pad.pullRightTrigger(0.45f);
  pollInput();
  EXPECT_EQ(0u, mouseButtons());
  pad.pullRightTrigger(0.55f);
  pollInput();
  EXPECT_EQ(SDL_BUTTON_RMASK, mouseButtons());
}

TEST_F(GamepadKeys, LeftStickWalksOnlyPastItsDeadZone) {
  pad.tiltLeftStick(-0.15f);
  pollInput();
  EXPECT_EQ(Keys{}, heldGameKeys()) << "a stick resting off-centre";
  pad.tiltLeftStick(-0.6f);
  pollInput();
  EXPECT_EQ(Keys{SDL_SCANCODE_A}, heldGameKeys());
  pad.tiltLeftStick(0.6f);
  pollInput();
  EXPECT_EQ(Keys{SDL_SCANCODE_D}, heldGameKeys());
}

TEST_F(GamepadKeys, KeyboardMouseAndPadCountTogether) {
  script.hold(SDL_SCANCODE_D).holdButtons(SDL_BUTTON_LMASK);
  pad.press(SDL_CONTROLLER_BUTTON_A);
  pad.pullRightTrigger(1.0f);
  pollInput();
  EXPECT_EQ((Keys{SDL_SCANCODE_SPACE, SDL_SCANCODE_D}), heldGameKeys());
  EXPECT_EQ(SDL_BUTTON_LMASK | SDL_BUTTON_RMASK, mouseButtons());
}

TEST_F(GamepadKeys, EveryPadPluggedInCounts) {
  VirtualPad second;
  pollInput();
  pad.press(SDL_CONTROLLER_BUTTON_A);
  second.press(SDL_CONTROLLER_BUTTON_B);
  pollInput();
  EXPECT_EQ((Keys{SDL_SCANCODE_SPACE, SDL_SCANCODE_Q}), heldGameKeys());
  pad.unplug();
  pollInput();
  EXPECT_EQ(Keys{SDL_SCANCODE_Q}, heldGameKeys()) << "the other pad plays on";
}

TEST_F(GamepadKeys, AnUnpluggedPadLeavesNothingHeld) {
  pad.holdEverything(true);
  pollInput();
  ASSERT_EQ(std::size(kGameKeys), heldGameKeys().size());
  pad.unplug();
  pollInput();
  EXPECT_EQ(Keys{}, heldGameKeys());
  EXPECT_EQ(0u, mouseButtons());
}

TEST_F(GamepadKeys, APadAnnouncedTwiceIsLetGoWholeWhenUnplugged) {
  pad.announceAgain();
  pad.press(SDL_CONTROLLER_BUTTON_A);
  pollInput();
  EXPECT_EQ(Keys{SDL_SCANCODE_SPACE}, heldGameKeys());
  const SDL_JoystickID instance = pad.instance();
  pad.unplug();
  pollInput();
  EXPECT_EQ(nullptr, SDL_GameControllerFromInstanceID(instance));
}

TEST_F(GamepadKeys, APadThatCannotBeOpenedIsReportedAndIgnored) {
  SDL_Event added{};
  added.type = SDL_CONTROLLERDEVICEADDED;
  added.cdevice.which = 99;
  SDL_PushEvent(&added);
  {
    const StderrCapture reasons;
    pollInput();
    EXPECT_NE(std::string::npos, reasons.text().find("Tarnwick: controller 99 cannot be opened: "));
  }
  pad.press(SDL_CONTROLLER_BUTTON_A);
  pollInput();
  EXPECT_EQ(Keys{SDL_SCANCODE_SPACE}, heldGameKeys()) << "the pad that is there still plays";
}

// The title and game-over screens, run as the main loop runs them.
class GamepadScreens : public ScreenTest {
 protected:
  template <typename T>
  bool current() const {
    return dynamic_cast<T*>(currentScreen()) != nullptr;
  }
  void tap(SDL_GameControllerButton button) {
    pad.press(button);
    script.runScreens();
    pad.release(button);
  }
  void loseTheGame() {
    tap(SDL_CONTROLLER_BUTTON_A);
    ASSERT_TRUE(current<SceneMap>());
    static_cast<SceneMap*>(currentScreen())->world->player().setHealth(0.0);
    script.runScreens();
    ASSERT_TRUE(current<SceneGameOver>());
  }

  ControllerSubsystem subsystem;
  VirtualPad pad;
};

TEST_F(GamepadScreens, SouthButtonStartsStageOne) {
  tap(SDL_CONTROLLER_BUTTON_A);
  EXPECT_TRUE(current<SceneMap>());
  EXPECT_FALSE(screenFrozen()) << "the fade into stage 1 is over";
}

TEST_F(GamepadScreens, BackButtonQuitsFromTheTitle) {
  tap(SDL_CONTROLLER_BUTTON_BACK);
  EXPECT_EQ(nullptr, currentScreen());
}

TEST_F(GamepadScreens, BackButtonQuitsFromTheGameOverScreen) {
  loseTheGame();
  tap(SDL_CONTROLLER_BUTTON_BACK);
  EXPECT_EQ(nullptr, currentScreen());
}

// The game from start-up, in a child process of its own, with a pad that was plugged in before
// the game started and whose south button is held all along.
[[noreturn]] void playWithAPadPluggedInBeforeStartUp() {
  // Title faded in (83 frames), left (91), stage 1 faded in (21), and some play.
  constexpr int kStageOneUnderWay = 250;
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_RENDER_DRIVER", "software", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  if (chdir(TestAssets::directory().c_str()) != 0) std::_Exit(100);
  if (std::freopen("/dev/null", "w", stdout) == nullptr) std::_Exit(101);
  FramePacer::instance().setEnabled(false);
  letPadsPlayWithoutFocus();
  // A pad can only be plugged into a running joystick subsystem; the game starts the rest.
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) std::_Exit(102);
  static VirtualPad pad;
  pad.press(SDL_CONTROLLER_BUTTON_A);
  static int presents = 0;
  setPresentObserver([] {
    if (++presents == kStageOneUnderWay)
      std::_Exit(dynamic_cast<SceneMap*>(currentScreen()) ? 0 : 1);
  });
  runApplication();
  std::_Exit(2);
}

TEST(GamepadAtStartUp, APadPluggedInBeforeStartUpStartsTheGameFromTheTitle) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(playWithAPadPluggedInBeforeStartUp(), ::testing::ExitedWithCode(0), "");
}

// An action as held on the keyboard and mouse, on the pad, and on the keyboard alone where that
// differs (left Shift runs, E attacks).
struct Action {
  void (*onKeyboardAndMouse)(FrameScript&);
  void (*onPad)(VirtualPad&);
  void (*onKeyboardAlone)(FrameScript&) = nullptr;
};
const Action kWalkLeft = {[](FrameScript& keys) { keys.hold(SDL_SCANCODE_A); },
                          [](VirtualPad& pad) { pad.tiltLeftStick(-1.0f); }};
const Action kWalkRight = {[](FrameScript& keys) { keys.hold(SDL_SCANCODE_D); },
                           [](VirtualPad& pad) { pad.tiltLeftStick(1.0f); }};
const Action kRun = {[](FrameScript& keys) { keys.holdButtons(SDL_BUTTON_RMASK); },
                     [](VirtualPad& pad) { pad.pullRightTrigger(1.0f); },
                     [](FrameScript& keys) { keys.hold(SDL_SCANCODE_LSHIFT); }};
const Action kJump = {[](FrameScript& keys) { keys.hold(SDL_SCANCODE_SPACE); },
                      [](VirtualPad& pad) { pad.press(SDL_CONTROLLER_BUTTON_A); }};
const Action kDodge = {[](FrameScript& keys) { keys.hold(SDL_SCANCODE_Q); },
                       [](VirtualPad& pad) { pad.press(SDL_CONTROLLER_BUTTON_B); }};
const Action kAttack = {[](FrameScript& keys) { keys.holdButtons(SDL_BUTTON_LMASK); },
                        [](VirtualPad& pad) { pad.press(SDL_CONTROLLER_BUTTON_X); },
                        [](FrameScript& keys) { keys.hold(SDL_SCANCODE_E); }};
const Action kBareHands = {[](FrameScript& keys) { keys.hold(SDL_SCANCODE_1); },
                           [](VirtualPad& pad) { pad.press(SDL_CONTROLLER_BUTTON_LEFTSHOULDER); }};
const Action kBlade = {[](FrameScript& keys) { keys.hold(SDL_SCANCODE_2); },
                       [](VirtualPad& pad) { pad.press(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER); }};
const Action kMaul = {[](FrameScript& keys) { keys.hold(SDL_SCANCODE_3); },
                      [](VirtualPad& pad) { pad.press(SDL_CONTROLLER_BUTTON_Y); }};

// Where the player's hands are.
enum class Hands { kKeyboardAndMouse, kKeyboardAlone, kPad };

// The hero's playground with a pad plugged in.
class GamepadHero : public PlayerArena {
 protected:
  struct Stretch {
    int frames;
    std::vector<Action> held;
  };
  using Trace = std::vector<std::tuple<float, float, double>>;  // centre x, feet y, health

  // Plays the stretches with each action held by `hands`.
  Trace playThrough(const std::vector<Stretch>& stretches, Hands hands) {
    FrameScript keys;  // the keyboard and mouse, for this play alone
    Trace trace;
    for (const Stretch& stretch : stretches) {
      keys.releaseAll();
      pad.holdEverything(false);
      for (const Action& action : stretch.held) {
        if (hands == Hands::kPad) {
          action.onPad(pad);
        } else if (hands == Hands::kKeyboardAlone && action.onKeyboardAlone != nullptr) {
          action.onKeyboardAlone(keys);
        } else {
          action.onKeyboardAndMouse(keys);
        }
      }
      for (int frame = 0; frame < stretch.frames; ++frame) {
        keys.play(*world);
        trace.emplace_back(heroCentreX(), heroFeetY(), player->health());
      }
    }
    return trace;
  }
  // A fresh playground, the pad still plugged in but let go before the hero is put in place.
  void startOver() {
    pad.holdEverything(false);
    PlayerArena::TearDown();
    PlayerArena::SetUp();
  }

  ControllerSubsystem subsystem;
  VirtualPad pad;
};

TEST_F(GamepadHero, PadAndKeyboardAlonePlayExactlyAsKeyboardAndMouse) {
  const std::vector<Stretch> stretches = {
      {30, {kWalkRight}}, {20, {kWalkRight, kRun}},
      {1, {kJump}},       {8, {}},
      {1, {kJump}},       {40, {}},
      {1, {kDodge}},      {30, {}},
      {15, {kWalkLeft}},  {1, {kWalkLeft, kJump}},
      {5, {kWalkLeft}},   {30, {}},
      {1, {kBlade}},      {1, {kAttack}},
      {40, {}},           {1, {kMaul}},
      {1, {kAttack}},     {10, {}},
      {1, {kAttack}},     {80, {}},
      {1, {kBareHands}},  {1, {kAttack, kRun}},
      {40, {kRun}},       {20, {kWalkRight, kRun}},
  };
  const Trace withKeyboard = playThrough(stretches, Hands::kKeyboardAndMouse);
  for (const Hands hands : {Hands::kPad, Hands::kKeyboardAlone}) {
    startOver();
    const Trace trace = playThrough(stretches, hands);
    const char* name = hands == Hands::kPad ? "on the pad" : "on the keyboard alone";
    ASSERT_EQ(withKeyboard.size(), trace.size());
    for (size_t frame = 0; frame < withKeyboard.size(); ++frame) {
      ASSERT_EQ(withKeyboard[frame], trace[frame]) << "frame " << frame + 1 << " " << name;
    }
  }
  // The script did play: the hero moved, left the ground and paid for running and blows.
  EXPECT_NE(kStartCentreX, std::get<0>(withKeyboard.back()));
  float highest = 0.0f;
  for (const auto& [x, feet, health] : withKeyboard) highest = std::max(highest, feet);
  EXPECT_GT(highest, 1.0f);
  EXPECT_LT(std::get<2>(withKeyboard.back()), 10000.0);
}

TEST_F(GamepadHero, UnpluggedMidRunTheHeroStopsAndStopsPaying) {
  pad.tiltLeftStick(1.0f);
  pad.pullRightTrigger(1.0f);
  play(20);
  ASSERT_GT(heroVelocity().x, 2.0f) << "running";
  pad.unplug();
  play();
  const float stoppedAt = heroCentreX();
  const double health = player->health();
  play(20);
  EXPECT_EQ(stoppedAt, heroCentreX());
  EXPECT_EQ(health, player->health());
}

}  // namespace
