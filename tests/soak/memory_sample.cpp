#include "soak/memory_sample.h"

#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#ifdef TARNWICK_SANITIZE
// Part of the sanitizers' runtime interface; GCC ships no header that declares it.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

constexpr double kBytesPerMiB = 1024.0 * 1024.0;

size_t readResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  size_t totalPages = 0;
  size_t residentPages = 0;
  statm >> totalPages >> residentPages;
  return residentPages * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

size_t readHeapBytes() {
#ifdef TARNWICK_SANITIZE
  return __sanitizer_get_current_allocated_bytes();
#else
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
#endif
}

}  // namespace

MemorySample MemorySample::take() {
  MemorySample sample;
  sample.residentBytes = readResidentBytes();
  sample.heapBytes = readHeapBytes();
  return sample;
}

std::string MemorySample::describe() const {
  char text[64];
  std::snprintf(text, sizeof text, "resident %.1f MiB, heap %.1f MiB", residentBytes / kBytesPerMiB,
                heapBytes / kBytesPerMiB);
  return text;
}

size_t growth(size_t earlier, size_t later) {
  return later > earlier ? later - earlier : 0;
}
