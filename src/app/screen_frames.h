#pragma once

// Turning the draw list into presented frames: the render pass, the per-frame flip, waiting a
// number of frames, and the capture / cross-fade pair that makes every screen change smooth.

#include <functional>

// One render pass of the draw list into the renderer's current target, then a present.
void renderFrame();

// Renders and presents the draw list to the window, unless the screen is frozen.
void flipFrame();

// Flips n frames; nothing for n <= 0.
void waitFrames(int n);

// Freezes the screen on a fresh picture of the draw list, kept in capturedScreen.
void captureScreen();

// When frozen: fades over `frames` frames from the captured picture to a fresh picture of the
// draw list, then unfreezes. Does nothing when the screen is live.
void crossFade(int frames);

// Called right before every present, with the picture about to be shown in the renderer's
// current target. Lets tests count frames and read them back; empty by default.
void setPresentObserver(std::function<void()> observer);
