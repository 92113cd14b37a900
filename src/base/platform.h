#pragma once

// The few things the game asks of the operating system that each system does its own way. The
// build takes one implementation: platform_posix.cpp (Linux, the browser) or platform_windows.cpp.

namespace platform {

// Seconds on a clock that never jumps, from an arbitrary start.
double monotonicSeconds();

// Sleeps until `deadline` on monotonicSeconds()'s clock or a little later, never earlier; how
// late it may wake is wakeLatenessSeconds().
void sleepUntil(double deadline);
double wakeLatenessSeconds();

// Makes standard output carry the log a whole line at a time, so that a reader sees each line
// as it is written, its lines and standard error's ending in "\n" alone on every system; false
// when the program has nowhere to write it (a windowed program started without a console or a
// redirection).
bool writeStandardOutputByLine();

// Calls `onLost`, which must end the process, when the display the game's window is on goes
// away (the X server of a desktop session that ends, a remote display that drops), in place of
// the window system's own way out, which ends the process in the middle of a frame. Call it once
// the window is open. Nothing to do where the display cannot vanish under a program.
void whenDisplayLost(void (*onLost)());

// Makes a hang-up (the terminal the game was started from closing) end the game as a request to
// terminate does: through the input poll, as when the window is closed. Call it once SDL is
// started, which answers termination that way.
void endHangUpAsTermination();

}  // namespace platform
