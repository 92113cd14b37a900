#include "world/world_drawing.h"

#include "base/screen_size.h"
#include "base/video_output.h"
#include "graphics/bitmap.h"

namespace {

constexpr SDL_Color kBlank{0, 0, 0, 255};
constexpr SDL_Point kScreenSize{SCREEN_WIDTH, SCREEN_HEIGHT};
constexpr SDL_Rect kScreen{0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};

bool coversTheWindow(const Bitmap* picture) {
  return picture != nullptr && picture->opaque() && picture->width() >= SCREEN_WIDTH &&
         picture->height() >= SCREEN_HEIGHT;
}

// Replaces every pixel of the picture's part of the target with the blank, alpha included.
void fillBlank() {
  SDL_Renderer* r = getRenderer();
  SDL_Color colour;
  SDL_BlendMode blend;
  SDL_GetRenderDrawColor(r, &colour.r, &colour.g, &colour.b, &colour.a);
  SDL_GetRenderDrawBlendMode(r, &blend);
  SDL_SetRenderDrawColor(r, kBlank.r, kBlank.g, kBlank.b, kBlank.a);
  SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_NONE);
  SDL_RenderFillRect(r, &kScreen);
  SDL_SetRenderDrawColor(r, colour.r, colour.g, colour.b, colour.a);
  SDL_SetRenderDrawBlendMode(r, blend);
}

}  // namespace

WorldDrawing::WorldDrawing(Bitmap* frame) {
  setBitmap(frame, true);
}

void WorldDrawing::beginPicture(const Bitmap* panorama, const Bitmap* stageImage,
                                SDL_Point stageAt) {
  panorama_ = panorama;
  stageImage_ = stageImage;
  stageAt_ = stageAt;
  placements_.clear();
}

void WorldDrawing::add(const TarnwickApp::Sprite& sprite) {
  if (sprite.bitmap() != nullptr) placements_.push_back(sprite.placement());
}

void WorldDrawing::draw() {
  drawBackground();
  for (const Placement& placement : placements_) drawPlacement(placement);
}

void WorldDrawing::drawBackground() const {
  // Every pass over the whole window counts in a phone's browser: none for a blank never seen.
  if (!coversTheWindow(panorama_)) fillBlank();
  if (panorama_ != nullptr) Bitmap::drawOnTarget(panorama_, kScreen, kScreen, 255, kScreenSize);
  if (stageImage_ != nullptr) {
    const SDL_Rect whole{0, 0, stageImage_->width(), stageImage_->height()};
    const SDL_Rect at{stageAt_.x, stageAt_.y, whole.w, whole.h};
    Bitmap::drawOnTarget(stageImage_, whole, at, 255, kScreenSize);
  }
}
