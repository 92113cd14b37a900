#pragma once

// Start-up, the main loop over the current screen, and shutdown.

// Runs the whole game and tells `whenOver` (if given) the process exit status: 0, or -1 when
// start-up fails or the asset list is unusable. On the desktop it returns that status once the
// game is over; in the browser it returns at once and the game goes on in the page.
int runApplication(void (*whenOver)(int exitStatus) = nullptr);

// Starts SDL, SDL_image and SDL_mixer and opens the window and renderer; false on failure,
// with SDL's reason on standard error.
bool startUp();

// Closes the renderer, the window and the libraries, logging each step.
void shutDown();

// The frame function, the only thing that presents: shows the next frame of the game (the
// current screen's picture, or a frame of a transition: held, captured or faded), then runs the
// game up to the frame after it (the screen's logic, the work between a transition's frames).
// False once the game is over.
bool runFrame();

// Runs the game up to its next frame, if it has not yet; false when the game is over.
bool prepareNextFrame();

// The current screen's frame, its logic and the whole change of screen or stage it asked for,
// frame by frame. Tests call it to play frames as the game does.
void runMainLoopFrame();
