#pragma once

// The clock the frame pacer reads and waits on, in seconds on a monotonic clock.
//
// On the desktop it is the system's clock, and a wait sleeps, then spins the last stretch.
// In the browser the time is that of the animation frame being drawn, and a wait only notes
// when the next frame is due: the browser's animation frames call the game (app/frame_loop.h),
// which runs a frame in the first one that is due, so the page is never blocked and each frame
// of the game is drawn in the animation frame it is shown in.
double displayClockNow();
void waitForDisplayClock(double deadline);

// The display's clock moves on to `seconds`, the time of an animation frame that has begun;
// true when the frame the pacer waits for is due in it. On the desktop the clock moves by
// itself and the waits are slept, so every frame is due.
bool displayFrameDue(double seconds);
