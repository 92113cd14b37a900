#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "base/platform.h"

// Older SDKs lack the flag; Windows 10 1803 and later know it.
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace platform {

namespace {

double performanceCounterPeriod() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1.0 / static_cast<double>(frequency.QuadPart);
}

// Windows' timers tick every 15.6 ms by default, far too coarse for a 16.7 ms frame: a
// high-resolution waitable timer wakes within about half a millisecond. Where the system does
// not offer one, the timer resolution is raised to 1 ms for the life of the process instead.
HANDLE frameTimer() {
  static const HANDLE timer = [] {
    HANDLE precise = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                            TIMER_ALL_ACCESS);
    if (precise != nullptr) return precise;
    timeBeginPeriod(1);
    return CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
  }();
  return timer;
}

}  // namespace

double monotonicSeconds() {
  static const double period = performanceCounterPeriod();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * period;
}

void sleepUntil(double deadline) {
  const double seconds = deadline - monotonicSeconds();
  if (seconds <= 0.0) return;
  // A negative due time is relative, in units of 100 ns.
  LARGE_INTEGER due;
  due.QuadPart = -static_cast<LONGLONG>(seconds * 1e7);
  const HANDLE timer = frameTimer();
  if (timer != nullptr && SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE)) {
    WaitForSingleObject(timer, INFINITE);
  } else {
    Sleep(static_cast<DWORD>(seconds * 1000.0));
  }
}

double wakeLatenessSeconds() {
  return 0.001;
}

bool writeStandardOutputByLine() {
  // A windowed program started from Explorer has no standard output at all.
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (output == nullptr || output == INVALID_HANDLE_VALUE) return false;
  // The C runtime has no line buffering (_IOLBF buffers fully), but it writes each call's whole
  // text at once to an unbuffered stream: the log writes one line a call. Binary, so that its
  // lines, and standard error's, end as on Linux rather than with "\r\n".
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  return true;
}

// A Windows session that ends closes the game's window first.
void whenDisplayLost(void (*)()) {}

// Windows has no hang-up signal.
void endHangUpAsTermination() {}

}  // namespace platform
