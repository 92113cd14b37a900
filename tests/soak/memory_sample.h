#pragma once

// What the process holds in memory at one moment: its resident set (from /proc/self/statm) and
// the bytes its heap has handed out and not yet taken back. Under the sanitizers the heap figure
// is their allocator's count, and the resident set also holds their quarantine of freed blocks.

#include <cstddef>
#include <string>

struct MemorySample {
  static MemorySample take();

  // "resident 61.2 MiB, heap 23.4 MiB"
  std::string describe() const;

  size_t residentBytes = 0;
  size_t heapBytes = 0;
};

// How far `later` has grown beyond `earlier` (0 when it shrank).
size_t growth(size_t earlier, size_t later);
