#pragma once

// Lets whatever runs the game have a turn in the middle of long work, such as loading every
// asset. In the browser the page then shows how far the loading has come and handles its events
// (every few hundredths of a second, so the turns cost little time); on the desktop nothing
// waits for a turn and this does nothing.
void giveHostATurn();
