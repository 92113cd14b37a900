#include <SDL.h>

#include <cstdio>

#include "app/app_context.h"
#include "app/application.h"

int main(int, char**) {
  // The log is read as it grows (and must survive a crash): one line at a time.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  logPrint("Tarnwick starting...\n");
  const int result = runApplication();
  logPrint("Tarnwick exiting code %d\n", result);
  return result;
}

#ifdef TARNWICK_SANITIZE
// Sanitized builds check the game's own memory in the tests. The window system's libraries
// leave allocations behind at exit that are not the game's, so the game itself does not count
// leaks; every other sanitizer report still ends it.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }
#endif
