#include "media/huge_page_allocations.h"

#include <SDL.h>
#include <sys/mman.h>

#include <cstddef>
#include <cstdint>

namespace {

constexpr size_t kHugeBlockBytes = 2 * 1024 * 1024;  // the size of one huge page
constexpr uintptr_t kPageBytes = 4096;

// SDL's allocator when the first HugePageAllocations was made.
struct Allocator {
  SDL_malloc_func malloc = nullptr;
  SDL_calloc_func calloc = nullptr;
  SDL_realloc_func realloc = nullptr;
  SDL_free_func free = nullptr;
};
Allocator underlying;
bool inUse = false;

// Asks for huge pages over the whole pages of a large block; a refusal (huge pages switched off,
// a kernel without them) leaves the block as it is.
void* adviseHugePages(void* block, size_t bytes) {
  if (block == nullptr || bytes < kHugeBlockBytes) return block;
  const uintptr_t begin = (reinterpret_cast<uintptr_t>(block) + kPageBytes - 1) & ~(kPageBytes - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(block) + bytes) & ~(kPageBytes - 1);
  madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
  return block;
}

void* SDLCALL hugeMalloc(size_t bytes) {
  return adviseHugePages(underlying.malloc(bytes), bytes);
}

void* SDLCALL hugeCalloc(size_t count, size_t size) {
  return adviseHugePages(underlying.calloc(count, size), count * size);
}

void* SDLCALL hugeRealloc(void* block, size_t bytes) {
  return adviseHugePages(underlying.realloc(block, bytes), bytes);
}

}  // namespace

HugePageAllocations::HugePageAllocations() {
  if (inUse) return;
  SDL_GetMemoryFunctions(&underlying.malloc, &underlying.calloc, &underlying.realloc,
                         &underlying.free);
  // Every block still goes through SDL's own allocator, so a block allocated before this point
  // may be freed after it and the other way round.
  SDL_SetMemoryFunctions(hugeMalloc, hugeCalloc, hugeRealloc, underlying.free);
  inUse = true;
  installed_ = true;
}

HugePageAllocations::~HugePageAllocations() {
  if (!installed_) return;
  SDL_SetMemoryFunctions(underlying.malloc, underlying.calloc, underlying.realloc, underlying.free);
  inUse = false;
}
