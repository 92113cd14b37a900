#include "graphics/bitmap.h"

#include <SDL_image.h>

#include <cmath>
#include <vector>

#include "base/log.h"
#include "base/video_output.h"
#include "graphics/png_decoder.h"

namespace {

constexpr double kFullTurn = 6.283185307179586;

}  // namespace

Uint32 Bitmap::targetFormat() {
  const Uint32 windowFormat = SDL_GetWindowPixelFormat(getWindow());
  if (SDL_ISPIXELFORMAT_ALPHA(windowFormat)) return windowFormat;
  return SDL_PIXELFORMAT_ARGB8888;
}

Bitmap::Bitmap(int w, int h) {
  createTarget(w, h);
}

Bitmap::Decoded Bitmap::decode(const std::string& path) {
  Decoded decoded;
  decoded.surface.reset(PngDecoder::decodeFile(path));
  if (decoded.surface == nullptr) return decodeWithSdlImage(path);
  return withCoverage(std::move(decoded));
}

Bitmap::Decoded Bitmap::decodeWithSdlImage(const std::string& path) {
  Decoded decoded;
  decoded.surface.reset(IMG_Load(path.c_str()));
  if (decoded.surface == nullptr) decoded.error = SDL_GetError();
  return withCoverage(std::move(decoded));
}

// Read on the decoding thread: the largest pictures are millions of pixels.
Bitmap::Decoded Bitmap::withCoverage(Decoded decoded) {
  decoded.coverage = TileCoverage(decoded.surface.get());
  return decoded;
}

Bitmap::Bitmap(std::string path) : Bitmap(path, decode(path)) {}

Bitmap::Bitmap(const std::string& path, Decoded decoded) {
  SDL_Surface* surface = decoded.surface.get();
  if (surface == nullptr) {
    logPrint("Load Image error(%s) while loading:%s\n", decoded.error.c_str(), path.c_str());
    return;
  }
  SDL_Texture* loaded = uploadShownParts(surface, decoded.coverage);
  if (loaded == nullptr) {
    logPrint("Load Texture error(%s) while loading:%s\n", SDL_GetError(), path.c_str());
    return;
  }
  int w = 0;
  int h = 0;
  SDL_QueryTexture(loaded, nullptr, nullptr, &w, &h);
  createTarget(w, h);
  // Cleared to transparent, what shows nothing need not be drawn: the same pixels as blending
  // the whole picture onto a target that starts out transparent.
  clear(SDL_Color{0, 0, 0, SDL_ALPHA_TRANSPARENT});
  const SDL_Rect whole{0, 0, w, h};
  SDL_SetTextureAlphaMod(loaded, 255);
  drawAtOnce([&] { copyShownParts(loaded, decoded.coverage, whole, whole, {w, h}); });
  SDL_DestroyTexture(loaded);
  coverage_ = std::move(decoded.coverage);
}

// Only the parts that show something are uploaded, the rest never being drawn (copyShownParts):
// most of a stage's picture is sky and most of a sprite's square frame is empty, and the upload
// of every pixel was the largest share of the browser's loading. A picture whose transparency is
// not read tile by tile (not 32-bit, or with a colour key) goes whole, converted by SDL.
SDL_Texture* Bitmap::uploadShownParts(SDL_Surface* surface, const TileCoverage& coverage) {
  SDL_Renderer* r = getRenderer();
  if (surface->format->BytesPerPixel != 4 || SDL_HasColorKey(surface)) {
    return SDL_CreateTextureFromSurface(r, surface);
  }
  SDL_Texture* texture = SDL_CreateTexture(r, surface->format->format, SDL_TEXTUREACCESS_STATIC,
                                           surface->w, surface->h);
  if (texture == nullptr) return nullptr;
  const auto upload = [&](const SDL_Rect& part) {
    const auto* pixels = static_cast<const Uint8*>(surface->pixels) + part.y * surface->pitch +
                         part.x * surface->format->BytesPerPixel;
    SDL_UpdateTexture(texture, &part, pixels, surface->pitch);
  };
  const SDL_Rect whole{0, 0, surface->w, surface->h};
  coverage.forEachPart(whole, TileCoverage::Kind::opaque, upload);
  coverage.forEachPart(whole, TileCoverage::Kind::mixed, upload);
  return texture;
}

Bitmap::~Bitmap() {
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
}

void Bitmap::createTarget(int w, int h) {
  // The size is the picture's, whether or not the renderer can hold it.
  width_ = w;
  height_ = h;
  texture_ = SDL_CreateTexture(getRenderer(), targetFormat(), SDL_TEXTUREACCESS_TARGET, w, h);
  if (texture_ != nullptr) SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_BLEND);
}

void Bitmap::blit(const Bitmap* source, const SDL_Rect* sourceRect, const SDL_Rect* destRect,
                  Uint8 alpha) {
  // A picture that failed to load has no texture: as a source it draws nothing (and has no blend
  // mode to restore), as a destination it must not let the copy fall through to the window.
  if (source->texture() == nullptr || texture_ == nullptr) return;
  const SDL_Rect whole{0, 0, source->width(), source->height()};
  const SDL_Rect from = sourceRect ? *sourceRect : whole;
  const SDL_Rect to = destRect ? *destRect : SDL_Rect{0, 0, width_, height_};
  drawAtOnce([&] { drawOnTarget(source, from, to, alpha, {width_, height_}); });
}

void Bitmap::drawOnTarget(const Bitmap* source, SDL_Rect from, SDL_Rect to, Uint8 alpha,
                          SDL_Point targetSize) {
  if (source->texture() == nullptr) return;
  SDL_BlendMode previousBlend;
  Uint8 previousAlpha;
  SDL_GetTextureBlendMode(source->texture(), &previousBlend);
  SDL_GetTextureAlphaMod(source->texture(), &previousAlpha);
  SDL_SetTextureAlphaMod(source->texture(), alpha);
  const bool unscaled = from.w == to.w && from.h == to.h;
  if (alpha == SDL_ALPHA_OPAQUE && unscaled && source->readsInside(from)) {
    copyShownParts(source->texture(), source->coverage_, from, to, targetSize);
  } else {
    SDL_SetTextureBlendMode(source->texture(), SDL_BLENDMODE_BLEND);
    SDL_RenderCopy(getRenderer(), source->texture(), &from, &to);
  }
  SDL_SetTextureAlphaMod(source->texture(), previousAlpha);
  SDL_SetTextureBlendMode(source->texture(), previousBlend);
}

void Bitmap::drawTurned(const Bitmap* source, SDL_Rect from, SDL_Rect to, double degrees,
                        SDL_Point pivot, SDL_RendererFlip flip) {
  SDL_Texture* texture = source->texture();
  if (texture == nullptr) return;
  // Seen through, a picture's opaque parts blend too.
  Uint8 alpha;
  SDL_GetTextureAlphaMod(texture, &alpha);
  if (alpha == SDL_ALPHA_OPAQUE && source->readsInside(from) &&
      drawsPartsSeamlessly(getRenderer())) {
    drawTurnedPartByPart(source, from, to, degrees, pivot, flip);
  } else {
    // SDL reads what of `from` the picture has, stretched over all of `to`.
    SDL_RenderCopyEx(getRenderer(), texture, &from, &to, degrees, &pivot, flip);
  }
}

void Bitmap::drawTurnedPartByPart(const Bitmap* source, SDL_Rect from, SDL_Rect to, double degrees,
                                  SDL_Point pivot, SDL_RendererFlip flip) {
  SDL_Renderer* r = getRenderer();
  SDL_Texture* texture = source->texture();
  const float scaleX = static_cast<float>(to.w) / static_cast<float>(from.w);
  const float scaleY = static_cast<float>(to.h) / static_cast<float>(from.h);
  const auto copy = [&](const SDL_Rect& part) {
    // Where the part lands in the unturned, mirrored copy, from `to`'s corner.
    float left = static_cast<float>(part.x - from.x) * scaleX;
    float top = static_cast<float>(part.y - from.y) * scaleY;
    const float width = static_cast<float>(part.w) * scaleX;
    const float height = static_cast<float>(part.h) * scaleY;
    if (flip & SDL_FLIP_HORIZONTAL) left = static_cast<float>(to.w) - left - width;
    if (flip & SDL_FLIP_VERTICAL) top = static_cast<float>(to.h) - top - height;
    const SDL_FRect dest{static_cast<float>(to.x) + left, static_cast<float>(to.y) + top, width,
                         height};
    // The same pivot on the target for every part, so that all turn as one.
    const SDL_FPoint centre{static_cast<float>(pivot.x) - left, static_cast<float>(pivot.y) - top};
    SDL_RenderCopyExF(r, texture, &part, &dest, degrees, &centre, flip);
  };
  SDL_BlendMode previousBlend;
  SDL_GetTextureBlendMode(texture, &previousBlend);
  copyEachShownPart(texture, source->coverage_, from, copy);
  SDL_SetTextureBlendMode(texture, previousBlend);
}

bool Bitmap::readsInside(const SDL_Rect& from) const {
  const SDL_Rect whole{0, 0, width_, height_};
  SDL_Rect readable;
  return SDL_IntersectRect(&from, &whole, &readable) && SDL_RectEquals(&from, &readable);
}

void Bitmap::copyEachShownPart(SDL_Texture* source, const TileCoverage& coverage,
                               const SDL_Rect& region,
                               const std::function<void(const SDL_Rect&)>& copy) {
  SDL_SetTextureBlendMode(source, SDL_BLENDMODE_NONE);
  coverage.forEachPart(region, TileCoverage::Kind::opaque, copy);
  SDL_SetTextureBlendMode(source, SDL_BLENDMODE_BLEND);
  coverage.forEachPart(region, TileCoverage::Kind::mixed, copy);
}

// A GPU draws each part as two triangles, and parts that meet share corners computed alike, so
// no pixel falls between them or is drawn twice. SDL's software renderer turns each part as a
// picture of its own, rounding its size and place: at any angle but a quarter turn neighbouring
// parts could overlap or leave a gap (the boss turns by every angle), so there the copy goes
// whole.
bool Bitmap::drawsPartsSeamlessly(SDL_Renderer* renderer) {
  SDL_RendererInfo info;
  return SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_ACCELERATED);
}

void Bitmap::copyShownParts(SDL_Texture* source, const TileCoverage& coverage, SDL_Rect from,
                            SDL_Rect to, SDL_Point targetSize) {
  // Only what lands on the target.
  const SDL_Rect inside{0, 0, targetSize.x, targetSize.y};
  SDL_Rect shown;
  if (!SDL_IntersectRect(&to, &inside, &shown)) return;
  const int offsetX = to.x - from.x;
  const int offsetY = to.y - from.y;
  const SDL_Rect part{shown.x - offsetX, shown.y - offsetY, shown.w, shown.h};
  const auto copy = [&](const SDL_Rect& piece) {
    const SDL_Rect dest{piece.x + offsetX, piece.y + offsetY, piece.w, piece.h};
    SDL_RenderCopy(getRenderer(), source, &piece, &dest);
  };
  copyEachShownPart(source, coverage, part, copy);
}

void Bitmap::drawAtOnce(const std::function<void()>& steps) {
  SDL_Renderer* r = getRenderer();
  SDL_Texture* previousTarget = SDL_GetRenderTarget(r);
  SDL_SetRenderTarget(r, texture_);
  steps();
  SDL_SetRenderTarget(r, previousTarget);
}

void Bitmap::clear(SDL_Color colour) {
  SDL_Renderer* r = getRenderer();
  SDL_Color previous;
  SDL_GetRenderDrawColor(r, &previous.r, &previous.g, &previous.b, &previous.a);
  SDL_SetRenderDrawColor(r, colour.r, colour.g, colour.b, colour.a);
  drawAtOnce([r] { SDL_RenderClear(r); });
  SDL_SetRenderDrawColor(r, previous.r, previous.g, previous.b, previous.a);
}

void Bitmap::beginDrawing(SDL_Color colour) {
  SDL_SetRenderTarget(getRenderer(), texture_);
  SDL_SetRenderDrawColor(getRenderer(), colour.r, colour.g, colour.b, colour.a);
}

void Bitmap::drawRect(SDL_Rect rect, SDL_Color colour) {
  beginDrawing(colour);
  SDL_RenderDrawRect(getRenderer(), &rect);
}

void Bitmap::fillRect(SDL_Rect rect, SDL_Color colour) {
  beginDrawing(colour);
  SDL_RenderFillRect(getRenderer(), &rect);
}

void Bitmap::fillCircle(Point centre, int radius, SDL_Color colour) {
  beginDrawing(colour);
  for (int i = -radius; i <= radius; ++i) {
    const int h = static_cast<int>(std::sqrt(static_cast<double>(radius * radius - i * i)));
    SDL_RenderDrawLine(getRenderer(), centre.x + i, centre.y - h, centre.x + i, centre.y + h);
  }
}

void Bitmap::fillSector(int centreX, int centreY, int radius, SDL_Color colour, double fromAngle,
                        double toAngle) {
  beginDrawing(colour);
  // The points go to the renderer in one batch: the same pixels as one call per point, without
  // the per-call cost on a disc of thousands of pixels.
  std::vector<SDL_Point> points;
  for (int dy = -radius; dy <= radius; ++dy) {
    const int h = static_cast<int>(std::sqrt(static_cast<double>(radius * radius - dy * dy)));
    for (int dx = -h; dx <= h; ++dx) {
      double angle = std::atan2(static_cast<double>(dy), static_cast<double>(dx));
      if (angle < 0) angle += kFullTurn;
      if (fromAngle <= angle && angle <= toAngle) points.push_back({centreX + dx, centreY - dy});
    }
  }
  // SDL refuses an empty batch as an error.
  if (points.empty()) return;
  SDL_RenderDrawPoints(getRenderer(), points.data(), static_cast<int>(points.size()));
}
