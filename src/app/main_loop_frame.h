#pragma once

// One frame of the main loop: the current screen's run(), then the change of screen it asked
// for, carried out at once. The main loop repeats it while there is a current screen; tests
// call it to play frames as the game does.
void runMainLoopFrame();
