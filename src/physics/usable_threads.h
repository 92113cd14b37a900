#pragma once

// How many threads (at least 1) the game may keep busy at once: the machine's cores on the desktop,
// and one in the browser, whose build has no threads at all (they would need cross-origin isolation
// headers that most static hosts do not send) and ends the page if it tries to start one.
// Loading and the liquid start worker threads only when this is 2 or more.
unsigned usableThreads();
