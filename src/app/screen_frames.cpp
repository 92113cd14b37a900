#include "app/screen_frames.h"

#include <cmath>
#include <deque>
#include <memory>

#include "app/app_context.h"
#include "app/frame_pacer.h"
#include "app/transition.h"
#include "base/never_destroyed.h"
#include "graphics/bitmap.h"
#include "graphics/drawable.h"

namespace {

std::function<void()>& presentObserver = neverDestroyed<std::function<void()>>();

// The steps still to be played, the head first.
std::deque<Transition::Step>& steps = neverDestroyed<std::deque<Transition::Step>>();

// From a capture to the end of its fade, with the picture the screen is frozen on.
bool frozen = false;
std::unique_ptr<Bitmap>& frozenPicture = neverDestroyed<std::unique_ptr<Bitmap>>();

// The fade at the head of the steps, once it has rendered the picture it fades to.
struct FadeInProgress {
  std::unique_ptr<Bitmap> newPicture;
  float step = 0.0f;
  float opacity = 0.0f;
  int framesLeft = 0;
};
FadeInProgress& fade = neverDestroyed<FadeInProgress>();

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

void capture() {
  frozen = true;
  auto picture = std::make_unique<Bitmap>(SCREEN_WIDTH, SCREEN_HEIGHT);
  renderInto(picture.get(), SDL_GetRenderTarget(getRenderer()));
  frozenPicture = std::move(picture);
}

// The first frame of a fade renders the picture it fades to.
void startFade(int frames) {
  fade.newPicture = std::make_unique<Bitmap>(SCREEN_WIDTH, SCREEN_HEIGHT);
  fade.step = 255.0f / static_cast<float>(frames);
  fade.opacity = 0.0f;
  fade.framesLeft = frames;
  renderInto(fade.newPicture.get(), nullptr);
}

// One blended frame; the opacity runs 0, step, 2·step, ... and never reaches full strength.
void showNextFadeFrame() {
  showFadeFrame(frozenPicture.get(), fade.newPicture.get(),
                static_cast<Uint8>(static_cast<int>(std::roundf(fade.opacity))));
  fade.opacity += fade.step;
  --fade.framesLeft;
}

void endFade() {
  frozen = false;
  frozenPicture.reset();
  fade.newPicture.reset();
}

// True when the step at the head presents a frame; false when it has nothing to present.
bool presentsAFrame(const Transition::Step& step) {
  switch (step.kind) {
    case Transition::Step::kHold:
      return step.frames > 0 && !screenFrozen();
    case Transition::Step::kCapture:
      return true;
    case Transition::Step::kFade:
      return screenFrozen();
    case Transition::Step::kWork:
      return false;
  }
  return false;
}

// Whether the game's 800 × 600 picture fills the whole target: no bars beside or below it that
// only a clear paints (a window of another shape, whose back buffer holds anything after a swap).
bool pictureFillsTarget(SDL_Renderer* r) {
  int width = 0;
  int height = 0;
  SDL_GetRendererOutputSize(r, &width, &height);
  SDL_Rect viewport;
  SDL_RenderGetViewport(r, &viewport);
  float scaleX = 1.0f;
  float scaleY = 1.0f;
  SDL_RenderGetScale(r, &scaleX, &scaleY);
  return viewport.x == 0 && viewport.y == 0 && std::lround(viewport.w * scaleX) >= width &&
         std::lround(viewport.h * scaleY) >= height;
}

// Whether the frame must be cleared first: not when its first picture hides every pixel of it.
bool frameNeedsClearing(SDL_Renderer* r) {
  return drawList->size() == 0 || !(*drawList->begin())->coversTarget() || !pictureFillsTarget(r);
}

}  // namespace

void setPresentObserver(std::function<void()> observer) {
  presentObserver = std::move(observer);
}

bool screenFrozen() {
  return frozen;
}

const Bitmap* capturedScreen() {
  return frozenPicture.get();
}

void renderFrame() {
  SDL_Renderer* r = getRenderer();
  SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
  SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_BLEND);
  // Every pass over the whole window counts in a phone's browser: none for a clear that the
  // first picture hides entirely (the world's, each frame of a stage).
  if (frameNeedsClearing(r)) SDL_RenderClear(r);
  for (TarnwickApp::Drawable* drawable : *drawList) drawable->draw();
  present();
}

void flipFrame() {
  if (screenFrozen()) return;
  SDL_SetRenderTarget(getRenderer(), nullptr);
  renderFrame();
}

void playNext(const Transition& transition) {
  steps.insert(steps.begin(), transition.steps().begin(), transition.steps().end());
}

bool settleTransitions() {
  while (!steps.empty()) {
    Transition::Step& head = steps.front();
    if (presentsAFrame(head)) return true;
    Transition::Work work = std::move(head.work);
    steps.pop_front();
    if (work) playNext(work());
  }
  return false;
}

void presentTransitionFrame() {
  Transition::Step& head = steps.front();
  switch (head.kind) {
    case Transition::Step::kHold:
      flipFrame();
      if (--head.frames > 0) return;
      break;
    case Transition::Step::kCapture:
      capture();
      break;
    case Transition::Step::kFade:
      if (fade.newPicture == nullptr) {
        startFade(head.frames);
      } else {
        showNextFadeFrame();
      }
      if (fade.framesLeft > 0) return;
      endFade();
      break;
    case Transition::Step::kWork:
      return;
  }
  steps.pop_front();
}

void resetScreenFrames(bool keepPictures) {
  steps.clear();
  if (keepPictures) {
    frozenPicture.release();
    fade.newPicture.release();
  }
  endFade();
}
