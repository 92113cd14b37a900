#pragma once

// A picture held by the GPU that can be drawn and drawn into: a render-target texture with its
// size. Loaded pictures, screen captures, the world's off-screen picture and the overlay's
// pictures are all bitmaps. Each drawing operation makes this bitmap the render target itself.

#include <SDL.h>

#include <functional>
#include <memory>
#include <string>

#include "graphics/point.h"
#include "graphics/tile_coverage.h"

class Bitmap {
 public:
  // A new, uncleared target of w × h pixels; without a texture, keeping that size, when the
  // renderer cannot make one.
  Bitmap(int w, int h);
  // An image file read into memory, not yet a texture. Decoding touches no renderer, so it may
  // run on any thread; the error is kept because SDL's error text belongs to the decoding thread.
  struct Decoded {
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> surface{nullptr, SDL_FreeSurface};
    std::string error;      // why the file could not be read
    TileCoverage coverage;  // what its pixels hide
  };
  // PNG files of the kinds the game ships through a quicker decoder, anything else and files
  // that decoder refuses through SDL_image, which reports what is wrong with them.
  static Decoded decode(const std::string& path);
  // Every file through SDL_image, as the game once decoded its pictures.
  static Decoded decodeWithSdlImage(const std::string& path);

  // Loads an image file; on failure logs why and stays empty (no texture, 0 × 0).
  explicit Bitmap(std::string path);
  // The picture of a decoded image file, made on the main thread like every texture; when the
  // file could not be read, logs why and stays empty (no texture, 0 × 0).
  Bitmap(const std::string& path, Decoded decoded);
  ~Bitmap();
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;

  SDL_Texture* texture() const { return texture_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // Loaded from a picture whose every pixel is fully opaque.
  bool opaque() const { return coverage_.opaque(); }

  // Copies `source` into this bitmap, blended at opacity `alpha`; null rectangles mean the whole
  // picture. A loaded picture copied unscaled at full opacity is copied part by part: what shows
  // nothing is skipped, what hides everything copied without blending (the same pixels, fewer
  // read and written). The source's blend mode and alpha modulation and the render target are
  // restored.
  void blit(const Bitmap* source, const SDL_Rect* sourceRect, const SDL_Rect* destRect,
            Uint8 alpha);
  // The same copy of `source`'s part `from` to `to`, onto the renderer's current target, which
  // is `targetSize` big.
  static void drawOnTarget(const Bitmap* source, SDL_Rect from, SDL_Rect to, Uint8 alpha,
                           SDL_Point targetSize);
  // Copies `source`'s part `from` onto the renderer's current target as SDL_RenderCopyEx does:
  // stretched over `to`, mirrored by `flip`, turned `degrees` clockwise about `pivot` (from
  // `to`'s corner). On a GPU, at full opacity, it goes part by part as an unscaled copy does: a
  // sprite's square frame is mostly empty, and what it hides is drawn without blending.
  static void drawTurned(const Bitmap* source, SDL_Rect from, SDL_Rect to, double degrees,
                         SDL_Point pivot, SDL_RendererFlip flip);
  // The copy drawTurned makes on a GPU, of a `from` inside the picture: each run of tiles that
  // shows something, turned about the same point. Open to the tests, which compare it with the
  // whole copy where the software renderer draws both alike (quarter turns).
  static void drawTurnedPartByPart(const Bitmap* source, SDL_Rect from, SDL_Rect to, double degrees,
                                   SDL_Point pivot, SDL_RendererFlip flip);
  // Runs `steps`, drawing operations on this bitmap, with it made the render target once for
  // them all (each would otherwise switch to it and back, and in the browser every switch to a
  // bitmap waits for the GPU); the render target is restored.
  void drawAtOnce(const std::function<void()>& steps);
  // Replaces every pixel, alpha included; the render target is restored.
  void clear(SDL_Color colour);
  void drawRect(SDL_Rect rect, SDL_Color colour);
  void fillRect(SDL_Rect rect, SDL_Color colour);
  // A filled disc made of vertical lines.
  void fillCircle(Point centre, int radius, SDL_Color colour);
  // The part of a disc between two angles (radians, counter-clockwise on screen from +x, both
  // inclusive), point by point.
  void fillSector(int centreX, int centreY, int radius, SDL_Color colour, double fromAngle,
                  double toAngle);

  // The pixel format of every target bitmap: the window's, or one with alpha when the
  // window's has none, so that transparency survives in pictures.
  static Uint32 targetFormat();

 private:
  void createTarget(int w, int h);
  void beginDrawing(SDL_Color colour);
  // The unscaled copy of `from` (pixels of `source`, whose transparency is `coverage`) to `to`
  // (the current target's, which is `targetSize` big), part by part.
  static void copyShownParts(SDL_Texture* source, const TileCoverage& coverage, SDL_Rect from,
                             SDL_Rect to, SDL_Point targetSize);
  // A texture of the decoded picture holding only the parts `coverage` says show something.
  static SDL_Texture* uploadShownParts(SDL_Surface* surface, const TileCoverage& coverage);
  static Decoded withCoverage(Decoded decoded);
  static bool drawsPartsSeamlessly(SDL_Renderer* renderer);
  // Whether `from` lies wholly within the picture.
  bool readsInside(const SDL_Rect& from) const;
  // Hands `copy` each part of `region` that shows something: the opaque ones with `source`
  // unblended, then the mixed ones blended (the blend mode it is left with).
  static void copyEachShownPart(SDL_Texture* source, const TileCoverage& coverage,
                                const SDL_Rect& region,
                                const std::function<void(const SDL_Rect&)>& copy);

  SDL_Texture* texture_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  TileCoverage coverage_;
};
