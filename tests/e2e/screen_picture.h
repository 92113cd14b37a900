#pragma once

// A screenshot or a picture file read back as pixels, to judge what a player would see.

#include <SDL.h>

#include <string>
#include <vector>

class ScreenPicture {
 public:
  // A mean difference per colour channel (0 to 255) below which two pictures are the same to
  // the eye: what the window's pixel format and blending leave of an exact copy.
  static constexpr double kSamePicture = 8.0;

  // Reads a PNG; an unreadable file gives an empty picture.
  explicit ScreenPicture(const std::string& pngPath);

  bool empty() const { return pixels_.empty(); }
  int width() const { return width_; }
  int height() const { return height_; }
  SDL_Color pixel(int x, int y) const;

  // The mean of red, green and blue over `area`: 0 is black, 255 white.
  double brightness(const SDL_Rect& area) const;
  // How far this picture strays from `overlay` drawn with its top-left corner at (x, y): the
  // mean difference per colour channel (0 to 255) over the pixels the overlay covers opaquely.
  double differenceFrom(const ScreenPicture& overlay, int x, int y) const;
  // The mean difference per colour channel between the two pictures over `area`.
  double differenceFrom(const ScreenPicture& other, const SDL_Rect& area) const;
  // How far `area` of this picture strays from `original` stretched over it: the mean difference
  // per colour channel, each pixel of the original compared with the middle of the block it
  // became.
  double differenceFromStretched(const ScreenPicture& original, const SDL_Rect& area) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<SDL_Color> pixels_;
};
