#pragma once

// Start-up, the main loop over the current screen, and shutdown.

// Runs the whole game; returns the process exit status (0, or -1 when start-up fails).
int runApplication();

// Starts SDL, SDL_image and SDL_mixer and opens the window and renderer; false on failure,
// with SDL's reason on standard error.
bool startUp();

// Closes the renderer, the window and the libraries, logging each step.
void shutDown();

// Loads the assets, shows the title and runs screens until none is current. Returns false when
// the asset list is unusable (the reason is already on standard error).
bool mainLoop();

// One frame of the main loop: the current screen's run(), then the change of screen it asked
// for, carried out at once. The main loop repeats it while there is a current screen; tests
// call it to play frames as the game does.
void runMainLoopFrame();
