#include "physics/usable_threads.h"

// The browser reports its cores, but this build cannot start a thread on any of them.
unsigned usableThreads() {
  return 1;
}
