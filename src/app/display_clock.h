#pragma once

// The clock the frame pacer reads and waits on, in seconds on a monotonic clock.
//
// On the desktop it is the system's clock, and a wait sleeps, then spins the last stretch.
// In the browser the time is that of the animation frame being drawn, and a wait hands the page
// back to the browser, one animation frame after another, until the frame whose time is due: the
// page is never blocked, and each frame of the game is drawn in the animation frame it is shown
// in.
double displayClockNow();
void waitForDisplayClock(double deadline);
