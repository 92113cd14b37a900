// Feeds arbitrary bytes to the quick PNG decoder and to SDL_image. The decoder must never crash,
// leak or read out of bounds, and a picture both of them read must come out the same: the same
// size, pixel format and pixels.

#include <SDL.h>
#include <SDL_image.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "graphics/png_decoder.h"

namespace {

using Surface = std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)>;

bool samePicture(const SDL_Surface& a, const SDL_Surface& b) {
  if (a.w != b.w || a.h != b.h || a.format->format != b.format->format) return false;
  const size_t rowBytes = static_cast<size_t>(a.w) * a.format->BytesPerPixel;
  for (int y = 0; y < a.h; ++y) {
    const auto* rowA = static_cast<const unsigned char*>(a.pixels) + y * a.pitch;
    const auto* rowB = static_cast<const unsigned char*>(b.pixels) + y * b.pitch;
    if (std::memcmp(rowA, rowB, rowBytes) != 0) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool started = IMG_Init(IMG_INIT_PNG) != 0;
  (void)started;
  Surface ours(PngDecoder::decode(data, size), SDL_FreeSurface);
  if (ours == nullptr) return 0;
  Surface theirs(IMG_Load_RW(SDL_RWFromConstMem(data, static_cast<int>(size)), 1), SDL_FreeSurface);
  if (theirs != nullptr && !samePicture(*ours, *theirs)) std::abort();
  return 0;
}
