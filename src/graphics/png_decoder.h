#pragma once

// A quick way through the pictures the game ships: PNG files of 8-bit RGB or RGBA, not
// interlaced, inflated with libdeflate, which takes about half the time of the zlib behind
// SDL_image. The pixels and their format are SDL_image's own. Any other file, and any file this
// decoder finds fault with, is left to SDL_image, which decodes or reports it as it always has.

#include <SDL.h>

#include <cstddef>
#include <string>

class PngDecoder {
 public:
  // How the row filters are undone: the quickest way the build has (SSE2 lanes on processors
  // that have them), or byte by byte, as everywhere else (the browser among them), so that the
  // tests hold both ways to SDL_image wherever they run.
  enum class RowLoops { kFastest, kPlain };

  // The picture in the file at `path`, or null when it is not one this decoder reads.
  static SDL_Surface* decodeFile(const std::string& path);
  // The picture in `size` bytes of a PNG file, or null when they are not one this decoder reads.
  static SDL_Surface* decode(const unsigned char* bytes, size_t size,
                             RowLoops loops = RowLoops::kFastest);
};
