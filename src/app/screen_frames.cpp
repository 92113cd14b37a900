#include "app/screen_frames.h"

#include <cmath>
#include <memory>

#include "app/app_context.h"
#include "app/frame_pacer.h"
#include "base/never_destroyed.h"
#include "graphics/bitmap.h"
#include "graphics/drawable.h"

namespace {

std::function<void()>& presentObserver = neverDestroyed<std::function<void()>>();

void present() {
  if (presentObserver) presentObserver();
  SDL_RenderPresent(getRenderer());
  FramePacer::instance().afterPresent();
}

// Renders the draw list into `picture` with its present, then returns to `previousTarget`.
void renderInto(Bitmap* picture, SDL_Texture* previousTarget) {
  SDL_SetRenderTarget(getRenderer(), picture->texture());
  renderFrame();
  SDL_SetRenderTarget(getRenderer(), previousTarget);
}

void showFadeFrame(Bitmap* oldPicture, Bitmap* newPicture, Uint8 alpha) {
  SDL_Renderer* r = getRenderer();
  SDL_SetTextureAlphaMod(newPicture->texture(), alpha);
  SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
  SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_BLEND);
  SDL_RenderClear(r);
  SDL_RenderCopy(r, oldPicture->texture(), nullptr, nullptr);
  SDL_RenderCopy(r, newPicture->texture(), nullptr, nullptr);
  present();
}

}  // namespace

void setPresentObserver(std::function<void()> observer) {
  presentObserver = std::move(observer);
}

void renderFrame() {
  SDL_Renderer* r = getRenderer();
  SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
  SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_BLEND);
  SDL_RenderClear(r);
  for (TarnwickApp::Drawable* drawable : *drawList) drawable->draw();
  present();
}

void flipFrame() {
  if (screenFrozen) return;
  SDL_SetRenderTarget(getRenderer(), nullptr);
  renderFrame();
}

void waitFrames(int n) {
  for (int i = 0; i < n; ++i) flipFrame();
}

void captureScreen() {
  screenFrozen = true;
  auto picture = std::make_unique<Bitmap>(SCREEN_WIDTH, SCREEN_HEIGHT);
  renderInto(picture.get(), SDL_GetRenderTarget(getRenderer()));
  capturedScreen = std::move(picture);
}

void crossFade(int frames) {
  if (!screenFrozen) return;
  const float step = 255.0f / static_cast<float>(frames);
  float opacity = 0.0f;
  Bitmap newPicture(SCREEN_WIDTH, SCREEN_HEIGHT);
  renderInto(&newPicture, nullptr);
  for (int i = 0; i < frames; ++i) {
    showFadeFrame(capturedScreen.get(), &newPicture,
                  static_cast<Uint8>(static_cast<int>(std::roundf(opacity))));
    opacity += step;
  }
  screenFrozen = false;
  capturedScreen.reset();
}
