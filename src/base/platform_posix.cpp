#include <SDL.h>
#include <signal.h>
#include <time.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/platform.h"

// Xlib's display, which SDL opens; only its address passes through here.
struct _XDisplay;

namespace platform {

namespace {

using XIoErrorHandler = int (*)(_XDisplay*);
using SetXIoErrorHandler = XIoErrorHandler (*)(XIoErrorHandler);

void (*displayLost)() = nullptr;

int endOnXIoError(_XDisplay*) {
  displayLost();
  return 0;
}

}  // namespace

double monotonicSeconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void sleepUntil(double deadline) {
  double whole = 0.0;
  const double fraction = std::modf(deadline, &whole);
  const timespec wake{static_cast<time_t>(whole), static_cast<long>(fraction * 1e9)};
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, nullptr) == EINTR) {
  }
}

double wakeLatenessSeconds() {
  return 0.00025;
}

bool writeStandardOutputByLine() {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  return true;
}

// Xlib ends the process with exit() when its connection to the display breaks, unless the
// program has a handler of its own. SDL loads Xlib itself, so the handler is set through the
// library SDL has loaded; under any other video driver (Wayland, the browser's) there is none.
void whenDisplayLost(void (*onLost)()) {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr || std::strcmp(driver, "x11") != 0) return;
  void* xlib = SDL_LoadObject("libX11.so.6");
  if (xlib == nullptr) return;
  const auto setHandler =
      reinterpret_cast<SetXIoErrorHandler>(SDL_LoadFunction(xlib, "XSetIOErrorHandler"));
  if (setHandler == nullptr) return;
  displayLost = onLost;
  setHandler(endOnXIoError);
}

// SDL turns SIGTERM into the quit event that a closed window sends; a hang-up is passed on as
// one.
void endHangUpAsTermination() {
  struct sigaction hangUp {};
  hangUp.sa_handler = [](int) { raise(SIGTERM); };
  sigemptyset(&hangUp.sa_mask);
  sigaction(SIGHUP, &hangUp, nullptr);
}

}  // namespace platform
