#pragma once

// Turning the draw list into presented frames: the render pass, the per-frame flip, and the
// transitions being played (frames held, the screen frozen on a captured picture, cross-fades),
// one present at a time. Only the main loop's frame function advances them.

#include <functional>

class Bitmap;
class Transition;

// One render pass of the draw list into the renderer's current target, then a present.
void renderFrame();

// Renders and presents the draw list to the window, unless the screen is frozen.
void flipFrame();

// Puts the steps of `transition` ahead of every step still to be played.
void playNext(const Transition& transition);

// Does the work at the head of the transitions being played, and drops what has nothing to
// present (a fade while the screen is live, frames held while it is frozen), until a frame is to
// be presented. False when nothing is left to play.
bool settleTransitions();

// Presents the next frame of the transitions being played; only after settleTransitions() said
// there is one.
void presentTransitionFrame();

// True from a capture until the end of the fade that follows it: the screen keeps its last
// presented picture and flips present nothing.
bool screenFrozen();
// The picture the screen was frozen on; null while live.
const Bitmap* capturedScreen();

// Forgets the transitions being played and the frozen screen. `keepPictures`: leaves their
// pictures to the end of the process, when the renderer that made them is about to go.
void resetScreenFrames(bool keepPictures = false);

// Called right before every present, with the picture about to be shown in the renderer's
// current target. Lets tests count frames and read them back; empty by default.
void setPresentObserver(std::function<void()> observer);
