#pragma once

// Starts the game's runtime without a display or sound card: the game's own start-up on SDL's
// dummy video driver with the software renderer and the dummy audio driver, the draw list, and
// frame pacing off so that frames run as fast as the machine allows. Shared by the tests and
// the benchmarks. Returns false (with SDL's reason on standard error) when start-up fails.
bool startHeadlessRuntime();
