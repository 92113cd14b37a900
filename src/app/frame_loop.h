#pragma once

// How the host calls the game: loading a part at a time, then one frame at a time.
//
// On the desktop in a plain loop, which the frame pacer's waits after each present hold at the
// game's pace. In the browser from its animation frames, so that the page is never blocked:
// loading takes a share of each animation frame, and the page shows how far it has come in
// between; then the frame function runs in each animation frame in which the pacer finds a
// frame due.
struct GameSteps {
  // Loads a part of the assets; false once nothing is left to load.
  bool (*load)();
  // Once loaded: prepares the first frame; false when the game cannot start.
  bool (*begin)();
  // The frame function; false once the game is over.
  bool (*frame)();
  // Work that can wait (decoding the sounds loading left), for about this many seconds; called
  // only by a host that leaves loading to it (hostGivesSpareTime), after a frame.
  void (*spare)(double seconds);
  // Once the last frame is over, or the game could not start (`played` false).
  void (*end)(bool played);
};

// Runs `steps`: on the desktop through to the end before returning; in the browser it returns
// at once and the browser calls the steps from then on.
void runGameSteps(const GameSteps& steps);

// Whether the host calls `spare` between frames: the browser, whose frames leave time over but
// which has no thread to decode on while the game loads. The desktop decodes everything while
// loading, on threads of its own.
bool hostGivesSpareTime();
