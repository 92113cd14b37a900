#include <algorithm>
#include <thread>

#include "physics/usable_threads.h"

unsigned usableThreads() {
  // 0 when the library cannot tell: taken as a single core.
  return std::max(1u, std::thread::hardware_concurrency());
}
