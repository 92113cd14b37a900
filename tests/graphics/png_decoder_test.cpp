// The quick PNG decoder gives SDL_image's pixels for every picture the game ships, and leaves
// every file it does not read, or finds fault with, to SDL_image.

#include "graphics/png_decoder.h"

#include <SDL_image.h>
#include <gtest/gtest.h>
#include <libdeflate.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "graphics/bitmap.h"

namespace {

using Bytes = std::vector<unsigned char>;
using Surface = std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)>;

void appendBigEndian(Bytes& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<unsigned char>(value >> shift));
}

void appendChunk(Bytes& out, const char* type, const Bytes& data) {
  appendBigEndian(out, static_cast<uint32_t>(data.size()));
  const size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  appendBigEndian(out, libdeflate_crc32(0, out.data() + typeAt, data.size() + 4));
}

using Chunks = std::vector<std::pair<const char*, Bytes>>;

// A PNG file of `rows` rows whose image data is `raw` (each row its filter byte, then its
// filtered bytes), with `extra` chunks before its data and the header's colour type, bit depth
// and interlace method as given.
Bytes pngFileOf(const Bytes& raw, uint32_t width, uint32_t rows, unsigned char colourType,
                const Chunks& extra = {}, unsigned char bitDepth = 8, unsigned char interlace = 0) {
  std::unique_ptr<libdeflate_compressor, void (*)(libdeflate_compressor*)> compressor(
      libdeflate_alloc_compressor(6), libdeflate_free_compressor);
  Bytes compressed(libdeflate_zlib_compress_bound(compressor.get(), raw.size()));
  compressed.resize(libdeflate_zlib_compress(compressor.get(), raw.data(), raw.size(),
                                             compressed.data(), compressed.size()));
  Bytes file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  Bytes header;
  appendBigEndian(header, width);
  appendBigEndian(header, rows);
  header.insert(header.end(), {bitDepth, colourType, 0, 0, interlace});
  appendChunk(file, "IHDR", header);
  for (const auto& [type, data] : extra) appendChunk(file, type, data);
  appendChunk(file, "IDAT", compressed);
  appendChunk(file, "IEND", {});
  return file;
}

// A PNG file of five rows, one for each row filter, with the header's colour type, bit depth,
// interlace method and width as given.
Bytes pngFile(unsigned char colourType, const Chunks& extra = {}, unsigned char bitDepth = 8,
              unsigned char interlace = 0, uint32_t width = 3) {
  constexpr uint32_t kRows = 5;
  const size_t rowBytes = 3 * (colourType == 6 ? 4 : 3);
  Bytes raw;
  for (unsigned char filter = 0; filter < kRows; ++filter) {
    raw.push_back(filter);
    for (size_t i = 0; i < rowBytes; ++i)
      raw.push_back(static_cast<unsigned char>(filter * 61 + i * 37));
  }
  return pngFileOf(raw, width, kRows, colourType, extra, bitDepth, interlace);
}

// What a row filter predicts a byte to be from the bytes to its left, above it and above-left,
// as PNG defines the five filters.
int predicted(unsigned char filter, int left, int up, int upLeft) {
  switch (filter) {
    case 1:
      return left;
    case 2:
      return up;
    case 3:
      return (left + up) / 2;
    case 4: {
      const int toLeft = std::abs(up - upLeft);
      const int toUp = std::abs(left - upLeft);
      const int toUpLeft = std::abs(left + up - 2 * upLeft);
      if (toLeft <= toUp && toLeft <= toUpLeft) return left;
      return toUp <= toUpLeft ? up : upLeft;
    }
    default:
      return 0;
  }
}

constexpr int kArrangements = 64;  // (left, above, above-left) of 4 values each
constexpr int kFilters = 5;
constexpr int kNeighbourhoodsWidth = 2 * kArrangements;
constexpr int kNeighbourhoodsHeight = 2 * kFilters;

// A picture in which, under each of the five filters, a byte meets every arrangement of the
// values 0, 85, 170 and 255 to its left, above and above-left: among them every tie of the
// Paeth filter (left and above equally near, left and above-left, above and above-left, all
// three) and sums past a byte for the average. Each filter has a band of two rows of 2-pixel
// columns; the right pixel of a column's lower row has the column's arrangement around it. The
// channels of one pixel meet different arrangements. Returns the file; `pixels` gets the picture
// it holds, row after row.
Bytes everyNeighbourhoodFile(int bytesPerPixel, Bytes& pixels) {
  constexpr int kValues[] = {0, 85, 170, 255};
  const size_t rowBytes = static_cast<size_t>(kNeighbourhoodsWidth) * bytesPerPixel;
  pixels.assign(rowBytes * kNeighbourhoodsHeight, 0);
  for (int band = 0; band < kFilters; ++band) {
    unsigned char* upper = pixels.data() + 2 * band * rowBytes;
    unsigned char* lower = upper + rowBytes;
    for (int column = 0; column < kArrangements; ++column) {
      for (int channel = 0; channel < bytesPerPixel; ++channel) {
        const int arrangement = (column + 16 * channel) % kArrangements;
        const size_t left = static_cast<size_t>(2 * column * bytesPerPixel + channel);
        const size_t right = left + bytesPerPixel;
        upper[left] = static_cast<unsigned char>(kValues[arrangement / 16]);      // above-left
        upper[right] = static_cast<unsigned char>(kValues[arrangement / 4 % 4]);  // above
        lower[left] = static_cast<unsigned char>(kValues[arrangement % 4]);       // left
        lower[right] = static_cast<unsigned char>(kValues[(arrangement + band) % 4]);
      }
    }
  }
  Bytes raw;
  for (int y = 0; y < kNeighbourhoodsHeight; ++y) {
    const unsigned char filter = static_cast<unsigned char>(y / 2);
    raw.push_back(filter);
    // Zeros above the first row and left of the first pixel.
    const auto byteAt = [&](int row, size_t byte) -> int {
      return row < 0 ? 0 : pixels[row * rowBytes + byte];
    };
    for (size_t i = 0; i < rowBytes; ++i) {
      const bool firstPixel = i < static_cast<size_t>(bytesPerPixel);
      const int left = firstPixel ? 0 : byteAt(y, i - bytesPerPixel);
      const int upLeft = firstPixel ? 0 : byteAt(y - 1, i - bytesPerPixel);
      const int prediction = predicted(filter, left, byteAt(y - 1, i), upLeft);
      raw.push_back(static_cast<unsigned char>(byteAt(y, i) - prediction));
    }
  }
  return pngFileOf(raw, kNeighbourhoodsWidth, kNeighbourhoodsHeight, bytesPerPixel == 4 ? 6 : 2);
}

Surface ours(const Bytes& file, PngDecoder::RowLoops loops = PngDecoder::RowLoops::kFastest) {
  return Surface(PngDecoder::decode(file.data(), file.size(), loops), SDL_FreeSurface);
}

Surface sdlImage(const Bytes& file) {
  return Surface(IMG_Load_RW(SDL_RWFromConstMem(file.data(), static_cast<int>(file.size())), 1),
                 SDL_FreeSurface);
}

void expectSamePicture(const SDL_Surface* a, const SDL_Surface* b, const std::string& what) {
  ASSERT_TRUE(a != nullptr && b != nullptr) << what;
  ASSERT_EQ(SDL_GetPixelFormatName(a->format->format), SDL_GetPixelFormatName(b->format->format))
      << what;
  ASSERT_EQ(a->w, b->w) << what;
  ASSERT_EQ(a->h, b->h) << what;
  const size_t rowBytes = static_cast<size_t>(a->w) * a->format->BytesPerPixel;
  for (int y = 0; y < a->h; ++y) {
    ASSERT_EQ(0, std::memcmp(static_cast<const char*>(a->pixels) + y * a->pitch,
                             static_cast<const char*>(b->pixels) + y * b->pitch, rowBytes))
        << what << ", row " << y;
  }
}

TEST(PngDecoder, ReadsEveryShippedPictureAsSdlImageDoes) {
  int pictures = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(
           std::filesystem::path(TARNWICK_SOURCE_DIR) / "assets")) {
    if (entry.path().extension() != ".png") continue;
    const std::string path = entry.path().string();
    const Surface quick(PngDecoder::decodeFile(path), SDL_FreeSurface);
    const Surface reference(IMG_Load(path.c_str()), SDL_FreeSurface);
    expectSamePicture(quick.get(), reference.get(), path);
    ++pictures;
  }
  EXPECT_EQ(50, pictures);
  expectSamePicture(ours(pngFile(2)).get(), sdlImage(pngFile(2)).get(), "RGB, every filter");
  expectSamePicture(ours(pngFile(6, {{"gAMA", {0, 0, 177, 143}}})).get(),
                    sdlImage(pngFile(6)).get(), "RGBA with an ancillary chunk");
}

TEST(PngDecoder, UndoesEveryFilterAroundEveryArrangementOfNeighboursAsSdlImageDoes) {
  for (const int bytesPerPixel : {3, 4}) {
    const std::string what = bytesPerPixel == 4 ? "RGBA" : "RGB";
    Bytes pixels;
    const Bytes file = everyNeighbourhoodFile(bytesPerPixel, pixels);
    const Surface meant(SDL_CreateRGBSurfaceWithFormatFrom(
                            pixels.data(), kNeighbourhoodsWidth, kNeighbourhoodsHeight,
                            bytesPerPixel * 8, kNeighbourhoodsWidth * bytesPerPixel,
                            bytesPerPixel == 4 ? SDL_PIXELFORMAT_RGBA32 : SDL_PIXELFORMAT_RGB24),
                        SDL_FreeSurface);
    const Surface reference = sdlImage(file);
    expectSamePicture(reference.get(), meant.get(), what + " as meant, by SDL_image");
    expectSamePicture(ours(file).get(), reference.get(), what + ", the quickest way");
    expectSamePicture(ours(file, PngDecoder::RowLoops::kPlain).get(), reference.get(),
                      what + ", byte by byte");
  }
}

TEST(PngDecoder, LeavesOtherKindsAndFaultyFilesToSdlImage) {
  Bytes badCrc = pngFile(6);
  badCrc[40] ^= 1;  // inside the image data
  Bytes cutShort = pngFile(6);
  cutShort.resize(cutShort.size() - 20);
  const std::pair<const char*, Bytes> kinds[] = {
      {"a transparent colour", pngFile(2, {{"tRNS", {0, 1, 0, 2, 0, 3}}})},
      {"16 bits a channel", pngFile(6, {}, 16)},
      {"interlaced", pngFile(6, {}, 8, 1)},
      {"grey", pngFile(0)},
      {"an unknown critical chunk", pngFile(6, {{"ABCD", {1}}})},
      {"a wrong CRC", badCrc},
      {"cut short", cutShort},
      {"a header claiming more than its data holds", pngFile(6, {}, 8, 0, 1u << 30)},
      {"not a PNG", Bytes{'G', 'I', 'F', '8', '9', 'a'}},
  };
  for (const auto& [what, file] : kinds) EXPECT_EQ(nullptr, ours(file)) << what;

  // Through the bitmap's decoding, SDL_image reads what it can and explains what it cannot.
  const std::string path =
      (std::filesystem::temp_directory_path() / "tarnwick-keyed.png").u8string();
  const Bytes keyed = pngFile(2, {{"tRNS", {0, 1, 0, 2, 0, 3}}});
  std::FILE* out = std::fopen(path.c_str(), "wb");
  ASSERT_NE(nullptr, out);
  std::fwrite(keyed.data(), 1, keyed.size(), out);
  std::fclose(out);
  const Bitmap::Decoded decoded = Bitmap::decode(path);
  expectSamePicture(decoded.surface.get(), sdlImage(keyed).get(), "a transparent colour");
  std::remove(path.c_str());
  EXPECT_NE("", Bitmap::decode("assets/images/no such picture.png").error);
  EXPECT_NE("", Bitmap::decode(std::filesystem::temp_directory_path().u8string()).error)
      << "a directory";
}

}  // namespace
