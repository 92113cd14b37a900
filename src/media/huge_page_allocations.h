#pragma once

// While one exists, every block of 2 MiB or more that SDL, SDL_image or SDL_mixer allocates
// (decoded pictures, textures of the software renderer, decoded sounds) asks the kernel for huge
// pages. The kernel then maps such a block 2 MiB at a time instead of 4 KiB at a time, on the
// first write to each part, which saves the loading a good share of the time it spends in the
// kernel. Blocks keep their usual allocator, so each may be freed whether or not one exists.

class HugePageAllocations {
 public:
  HugePageAllocations();
  // SDL allocates as before; what was allocated keeps its huge pages.
  ~HugePageAllocations();
  HugePageAllocations(const HugePageAllocations&) = delete;
  HugePageAllocations& operator=(const HugePageAllocations&) = delete;

 private:
  bool installed_ = false;  // false while an older one is in use
};
