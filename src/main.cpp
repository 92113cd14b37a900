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
