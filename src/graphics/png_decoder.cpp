#include "graphics/png_decoder.h"

#include <libdeflate.h>

// The row filters are undone in SSE2 lanes where the processor has them, and byte by byte
// elsewhere (the browser, other processors), or where the build asks for the plain loops
// (TARNWICK_PNG_SSE2=OFF). The plain loops are always there, to be asked for by name.
#if defined(__SSE2__) && !defined(TARNWICK_PNG_PLAIN)
#define TARNWICK_PNG_SSE2_LANES 1
#include <emmintrin.h>
#endif

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

namespace {

constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
constexpr size_t kHeaderLength = 13;
constexpr unsigned char kRgb = 2;
constexpr unsigned char kRgba = 6;
// Deflate cannot expand data more than about 1032 times: a header claiming a larger picture than
// its data could hold is refused before anything that size is allocated.
constexpr uint64_t kMaxInflation = 1032;

struct Header {
  uint32_t width = 0;
  uint32_t height = 0;
  int bytesPerPixel = 0;
};

uint32_t readBigEndian(const unsigned char* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

bool isType(const unsigned char* type, const char* name) {
  return std::memcmp(type, name, 4) == 0;
}

// A decoder must understand every critical chunk; their names start with a capital.
bool isCritical(const unsigned char* type) {
  return (type[0] & 0x20) == 0;
}

// Only the kinds of file the game ships: 8 bits per channel, RGB or RGBA, not interlaced.
bool readHeader(const unsigned char* data, Header& header) {
  header.width = readBigEndian(data);
  header.height = readBigEndian(data + 4);
  const unsigned char bitDepth = data[8];
  const unsigned char colourType = data[9];
  const bool plain = data[10] == 0 && data[11] == 0 && data[12] == 0;
  if (header.width == 0 || header.height == 0 || header.width > INT32_MAX ||
      header.height > INT32_MAX || bitDepth != 8 || !plain) {
    return false;
  }
  if (colourType != kRgb && colourType != kRgba) return false;
  header.bytesPerPixel = colourType == kRgba ? 4 : 3;
  return true;
}

// Walks the chunks from the header to the end, checking each one's CRC, and gathers the
// compressed image data. A transparent colour (tRNS) and unknown critical chunks are left to
// SDL_image; other ancillary chunks are skipped, as SDL_image skips them.
bool readChunks(const unsigned char* bytes, size_t size, Header& header,
                std::vector<unsigned char>& compressed) {
  if (size < sizeof kSignature || std::memcmp(bytes, kSignature, sizeof kSignature) != 0) {
    return false;
  }
  bool headerRead = false;
  for (size_t at = sizeof kSignature; size - at >= 12;) {
    const uint32_t length = readBigEndian(bytes + at);
    if (length > size - at - 12) return false;
    const unsigned char* type = bytes + at + 4;
    const unsigned char* data = type + 4;
    if (libdeflate_crc32(0, type, length + 4) != readBigEndian(data + length)) return false;
    at += length + 12;
    if (!headerRead) {
      if (!isType(type, "IHDR") || length != kHeaderLength || !readHeader(data, header)) {
        return false;
      }
      headerRead = true;
    } else if (isType(type, "IDAT")) {
      compressed.insert(compressed.end(), data, data + length);
    } else if (isType(type, "IEND")) {
      return !compressed.empty();
    } else if (isType(type, "tRNS") || (isCritical(type) && !isType(type, "PLTE"))) {
      return false;  // a palette chunk only suggests colours for RGB, and is skipped
    }
  }
  return false;
}

// Byte by byte, on any processor.
struct PlainLoops {
  template <int kBytesPerPixel>
  static void addLeft(const unsigned char* filtered, unsigned char* row, size_t length) {
    for (size_t i = 0; i < kBytesPerPixel; ++i) row[i] = filtered[i];
    for (size_t i = kBytesPerPixel; i < length; ++i) row[i] = filtered[i] + row[i - kBytesPerPixel];
  }

  template <int kBytesPerPixel>
  static void addAverage(const unsigned char* filtered, unsigned char* row, const unsigned char* up,
                         size_t length) {
    for (size_t i = 0; i < kBytesPerPixel; ++i) row[i] = filtered[i] + (up[i] >> 1);
    for (size_t i = kBytesPerPixel; i < length; ++i)
      row[i] = filtered[i] + ((row[i - kBytesPerPixel] + up[i]) >> 1);
  }

  static int paethPredictor(int left, int up, int upLeft) {
    const int estimate = left + up - upLeft;
    const int toLeft = std::abs(estimate - left);
    const int toUp = std::abs(estimate - up);
    const int toUpLeft = std::abs(estimate - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft) return left;
    return toUp <= toUpLeft ? up : upLeft;
  }

  template <int kBytesPerPixel>
  static void addPaeth(const unsigned char* filtered, unsigned char* row, const unsigned char* up,
                       size_t length) {
    for (size_t i = 0; i < kBytesPerPixel; ++i) row[i] = filtered[i] + up[i];
    for (size_t i = kBytesPerPixel; i < length; ++i) {
      row[i] = filtered[i] + paethPredictor(row[i - kBytesPerPixel], up[i], up[i - kBytesPerPixel]);
    }
  }
};

#if defined(TARNWICK_PNG_SSE2_LANES)

// The filters that predict from the pixel to the left undo one whole pixel at a time, in the
// lanes of a register: each pixel waits for the one before it, and one wait per pixel instead
// of one per byte is what makes these rows quick.
struct Sse2Lanes {
  // One pixel's bytes in the low lanes of a register, and back; a 3-byte pixel is read and
  // written as 3 bytes so that nothing past the row is touched. The bytes are put together one
  // by one because a 3-byte copy into a 4-byte word would stall the load that follows it.
  template <int kBytesPerPixel>
  static __m128i loadPixel(const unsigned char* p) {
    uint32_t value = p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16);
    if (kBytesPerPixel == 4) value |= uint32_t{p[3]} << 24;
    return _mm_cvtsi32_si128(static_cast<int32_t>(value));
  }

  template <int kBytesPerPixel>
  static void storePixel(unsigned char* p, __m128i pixel) {
    const int32_t value = _mm_cvtsi128_si32(pixel);
    std::memcpy(p, &value, kBytesPerPixel);
  }

  static __m128i absolute16(__m128i x) {
    return _mm_max_epi16(x, _mm_sub_epi16(_mm_setzero_si128(), x));
  }

  static __m128i select16(__m128i mask, __m128i whenSet, __m128i otherwise) {
    return _mm_or_si128(_mm_and_si128(mask, whenSet), _mm_andnot_si128(mask, otherwise));
  }

  template <int kBytesPerPixel>
  static void addLeft(const unsigned char* filtered, unsigned char* row, size_t length) {
    __m128i left = _mm_setzero_si128();
    for (size_t i = 0; i < length; i += kBytesPerPixel) {
      left = _mm_add_epi8(loadPixel<kBytesPerPixel>(filtered + i), left);
      storePixel<kBytesPerPixel>(row + i, left);
    }
  }

  template <int kBytesPerPixel>
  static void addAverage(const unsigned char* filtered, unsigned char* row, const unsigned char* up,
                         size_t length) {
    const __m128i ones = _mm_set1_epi8(1);
    __m128i left = _mm_setzero_si128();
    for (size_t i = 0; i < length; i += kBytesPerPixel) {
      const __m128i above = loadPixel<kBytesPerPixel>(up + i);
      // The average rounded down: SSE's rounds up when the two differ in their lowest bit.
      const __m128i average =
          _mm_sub_epi8(_mm_avg_epu8(left, above), _mm_and_si128(_mm_xor_si128(left, above), ones));
      left = _mm_add_epi8(loadPixel<kBytesPerPixel>(filtered + i), average);
      storePixel<kBytesPerPixel>(row + i, left);
    }
  }

  // The Paeth predictor in 16-bit lanes: of left, above and above-left, the one nearest to
  // left + above - above-left, ties going to left, then above.
  template <int kBytesPerPixel>
  static void addPaeth(const unsigned char* filtered, unsigned char* row, const unsigned char* up,
                       size_t length) {
    const __m128i zero = _mm_setzero_si128();
    __m128i left = zero;
    __m128i aboveLeft = zero;
    for (size_t i = 0; i < length; i += kBytesPerPixel) {
      const __m128i above = _mm_unpacklo_epi8(loadPixel<kBytesPerPixel>(up + i), zero);
      const __m128i fromAbove = _mm_sub_epi16(above, aboveLeft);
      const __m128i fromLeft = _mm_sub_epi16(left, aboveLeft);
      const __m128i toLeft = absolute16(fromAbove);
      const __m128i toAbove = absolute16(fromLeft);
      const __m128i toAboveLeft = absolute16(_mm_add_epi16(fromAbove, fromLeft));
      const __m128i nearest = _mm_min_epi16(toAboveLeft, _mm_min_epi16(toLeft, toAbove));
      const __m128i predicted =
          select16(_mm_cmpeq_epi16(nearest, toLeft), left,
                   select16(_mm_cmpeq_epi16(nearest, toAbove), above, aboveLeft));
      const __m128i pixel =
          _mm_add_epi8(loadPixel<kBytesPerPixel>(filtered + i), _mm_packus_epi16(predicted, zero));
      storePixel<kBytesPerPixel>(row + i, pixel);
      left = _mm_unpacklo_epi8(pixel, zero);
      aboveLeft = above;
    }
  }
};
using FastestLoops = Sse2Lanes;

#else

using FastestLoops = PlainLoops;

#endif

// Undoes the filter of one row of `length` bytes from `filtered` into `row`; `up` is the row
// above, already unfiltered (zeros above the first row).
template <class Loops, int kBytesPerPixel>
bool unfilterRow(unsigned char filter, const unsigned char* __restrict filtered,
                 unsigned char* __restrict row, const unsigned char* __restrict up, size_t length) {
  switch (filter) {
    case 0:
      std::memcpy(row, filtered, length);
      return true;
    case 1:
      Loops::template addLeft<kBytesPerPixel>(filtered, row, length);
      return true;
    case 2:
      for (size_t i = 0; i < length; ++i) row[i] = filtered[i] + up[i];
      return true;
    case 3:
      Loops::template addAverage<kBytesPerPixel>(filtered, row, up, length);
      return true;
    case 4:
      Loops::template addPaeth<kBytesPerPixel>(filtered, row, up, length);
      return true;
    default:
      return false;
  }
}

// Undoes each inflated row's filter into the picture.
template <class Loops, int kBytesPerPixel>
bool unfilterRows(const unsigned char* inflated, SDL_Surface& surface) {
  const size_t rowLength = static_cast<size_t>(surface.w) * kBytesPerPixel;
  const std::vector<unsigned char> zeros(rowLength, 0);
  const unsigned char* up = zeros.data();
  auto* pixels = static_cast<unsigned char*>(surface.pixels);
  for (int y = 0; y < surface.h; ++y) {
    const unsigned char* source = inflated + static_cast<size_t>(y) * (rowLength + 1);
    unsigned char* row = pixels + static_cast<size_t>(y) * surface.pitch;
    if (!unfilterRow<Loops, kBytesPerPixel>(source[0], source + 1, row, up, rowLength)) {
      return false;
    }
    up = row;
  }
  return true;
}

// A picture of packed rows (the pitch is a row's length) for the decoder to write every byte of.
// SDL_CreateRGBSurfaceWithFormat would clear it first: a pass over millions of pixels that
// nothing reads, a tenth of the loading's time in a browser.
SDL_Surface* surfaceToFill(const Header& header, Uint32 format) {
  const size_t pitch = size_t{header.width} * header.bytesPerPixel;
  if (pitch > INT_MAX) return nullptr;  // SDL keeps the pitch in an int
  void* pixels = SDL_malloc(pitch * header.height);
  if (pixels == nullptr) return nullptr;
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
      pixels, static_cast<int>(header.width), static_cast<int>(header.height),
      header.bytesPerPixel * 8, static_cast<int>(pitch), format);
  if (surface == nullptr) {
    SDL_free(pixels);
    return nullptr;
  }
  // The surface owns its pixels from here on: SDL_FreeSurface frees them with SDL_free.
  surface->flags &= ~SDL_PREALLOC;
  return surface;
}

template <class Loops>
SDL_Surface* decodeWith(const unsigned char* bytes, size_t size) {
  Header header;
  std::vector<unsigned char> compressed;
  if (!readChunks(bytes, size, header, compressed)) return nullptr;
  const uint64_t inflatedSize = (uint64_t{header.width} * header.bytesPerPixel + 1) * header.height;
  if (inflatedSize > compressed.size() * kMaxInflation || inflatedSize > SIZE_MAX) return nullptr;
  std::unique_ptr<unsigned char, void (*)(void*)> inflated(
      static_cast<unsigned char*>(SDL_malloc(inflatedSize)), SDL_free);
  std::unique_ptr<libdeflate_decompressor, void (*)(libdeflate_decompressor*)> inflater(
      libdeflate_alloc_decompressor(), libdeflate_free_decompressor);
  if (inflated == nullptr || inflater == nullptr ||
      libdeflate_zlib_decompress(inflater.get(), compressed.data(), compressed.size(),
                                 inflated.get(), inflatedSize, nullptr) != LIBDEFLATE_SUCCESS) {
    return nullptr;
  }
  const bool rgba = header.bytesPerPixel == 4;
  std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> surface(
      surfaceToFill(header, rgba ? SDL_PIXELFORMAT_RGBA32 : SDL_PIXELFORMAT_RGB24),
      SDL_FreeSurface);
  if (surface == nullptr) return nullptr;
  const bool unfiltered = rgba ? unfilterRows<Loops, 4>(inflated.get(), *surface)
                               : unfilterRows<Loops, 3>(inflated.get(), *surface);
  return unfiltered ? surface.release() : nullptr;
}

}  // namespace

SDL_Surface* PngDecoder::decode(const unsigned char* bytes, size_t size, RowLoops loops) {
  return loops == RowLoops::kPlain ? decodeWith<PlainLoops>(bytes, size)
                                   : decodeWith<FastestLoops>(bytes, size);
}

SDL_Surface* PngDecoder::decodeFile(const std::string& path) {
  // Only a regular file has a size (a directory opens as a stream all the same). The path is
  // UTF-8, which Windows reads only through a wide path.
  const std::filesystem::path filePath = std::filesystem::u8path(path);
  std::error_code notAFile;
  const std::uintmax_t size = std::filesystem::file_size(filePath, notAFile);
  std::ifstream file(filePath, std::ios::binary);
  if (notAFile || !file) return nullptr;
  std::vector<unsigned char> bytes(size);
  if (!file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
    return nullptr;
  }
  return decode(bytes.data(), bytes.size());
}
