#pragma once

// The state the game keeps for the whole process beyond the application context, in one list:
// the input (a script in place of the devices, the open controllers, the held keys), the
// present and sound observers, the transitions being played and the frozen screen, and the
// frame pacer's measurements. The asset registry is loaded once per process and stays.

// Puts every piece of that state back as it is at start-up. Tests call it between tests so
// that none inherits what the one before left behind; frame pacing stays on or off. It lives at
// the top of the folders because it reaches into all of them.
void resetRuntimeState();
