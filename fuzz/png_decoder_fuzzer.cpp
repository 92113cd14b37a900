// Feeds arbitrary bytes to the quick PNG decoder and to SDL_image. The decoder must never crash,
// leak or read out of bounds, and a picture both of them read must come out the same: the same
// size, pixel format and pixels. The chunks' CRCs are set right first, so that changed bytes get
// past the CRC check into the header, the inflating and the row filters.

#include <SDL.h>
#include <SDL_image.h>
#include <libdeflate.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

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

// Writes each whole chunk's correct CRC after its data.
std::vector<uint8_t> withCorrectCrcs(const uint8_t* data, size_t size) {
  std::vector<uint8_t> file(data, data + size);
  for (size_t at = 8; at + 12 <= file.size();) {
    const uint32_t length = (uint32_t{file[at]} << 24) | (uint32_t{file[at + 1]} << 16) |
                            (uint32_t{file[at + 2]} << 8) | file[at + 3];
    if (length > file.size() - at - 12) break;
    const uint32_t crc = libdeflate_crc32(0, file.data() + at + 4, length + 4);
    for (int i = 0; i < 4; ++i)
      file[at + 8 + length + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    at += length + 12;
  }
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool started = IMG_Init(IMG_INIT_PNG) != 0;
  (void)started;
  const std::vector<uint8_t> file = withCorrectCrcs(data, size);
  Surface ours(PngDecoder::decode(file.data(), file.size()), SDL_FreeSurface);
  if (ours == nullptr) return 0;
  Surface theirs(IMG_Load_RW(SDL_RWFromConstMem(file.data(), static_cast<int>(file.size())), 1),
                 SDL_FreeSurface);
  if (theirs != nullptr && !samePicture(*ours, *theirs)) std::abort();
  return 0;
}
