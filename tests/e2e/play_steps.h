#pragma once

// Stretches of play that several end-to-end tests share. Each waits for what the game's log
// shows rather than for a fixed time, so a slow machine only makes it slower.

#include <functional>
#include <string>

#include "e2e/screen_picture.h"

class RealGame;

namespace PlaySteps {

// xdotool's names for the mouse buttons the game reads.
constexpr int kLeftButton = 1;
constexpr int kRightButton = 3;
// Long enough for the game's last fade and its shutdown.
constexpr double kEndSeconds = 15.0;
// What the game logs as it shuts down, after the current screen is gone or the window closed.
constexpr const char* kShutdownLines =
    "Exiting...\nShutting down SDL_mixer...\nShutting down SDL_Image...\n"
    "Shutting down SDL...\nShutting down...\nWhat?\n";

// Where the player's hands are: one on the mouse (the right button runs, the left attacks), or
// both on the keyboard (left Shift runs, E attacks).
enum class Controls { KeyboardAndMouse, KeyboardOnly };

// Holds or lets go of running.
void holdRun(RealGame& game, Controls controls, bool held);
// Holds the attack down or lets it go.
void holdAttack(RealGame& game, Controls controls, bool held);

// Waits until the title has faded in (looked at until it holds still); false when it never
// shows.
bool waitForTitle(RealGame& game);
// Looks at the screen until two looks in a row are the same, and, in a window of the title's
// size, the title's own picture: the title's fade-in has ended.
// Returns that look, saved under `name`; an empty picture when the screen never settles.
ScreenPicture lookAtSettledTitle(RealGame& game, const std::string& name);
// Waits for the title, presses SPACE and waits until the hero has landed in stage 1; false
// when the stage never appears.
bool startStage1(RealGame& game);
// Runs right through stage 1, hopping over the foes that leap in the way, until the world is
// torn down for stage 2 and the hero has landed on stage 2's first ledge; false when either
// never happens. Keys and buttons are released as soon as the teardown shows, so the hero drops
// straight onto the ledge.
bool runIntoStage2(RealGame& game, Controls controls = Controls::KeyboardAndMouse);
// Waits until the hero has landed after the log's last `worldBuilt` line. A new world runs no
// frame before its fade-in is over, so from then on keys and buttons reach the hero.
bool waitForLanding(RealGame& game, const std::string& worldBuilt);
// Does `act` and looks at the screen, again and again, until `seen` holds for the picture or
// `seconds` have passed; returns the last look. The game reads some keys only at some moments
// (a weapon between attacks) and shows their effect a frame later, however busy the machine.
ScreenPicture actUntilSeen(RealGame& game, const std::string& name,
                           const std::function<void()>& act,
                           const std::function<bool(const ScreenPicture&)>& seen, double seconds);
// Saves a screenshot named after `name` in the test's temporary directory and reads it back.
ScreenPicture look(RealGame& game, const std::string& name);
// Where look() saved the screenshot named `name`.
std::string screenshotPath(const std::string& name);
// One of the game's own pictures, assets/images/`name`.png.
ScreenPicture assetPicture(const std::string& name);
// The last `count` characters of `log`, or all of it when it is shorter.
std::string lastChars(const std::string& log, size_t count);

}  // namespace PlaySteps
