#include "app/game_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/app_context.h"
#include "app/input.h"
#include "app/screen_frames.h"
#include "app/transition.h"
#include "graphics/bitmap.h"
#include "graphics/sprite.h"
#include "support/frame_script.h"
#include "support/game_test.h"

namespace {

constexpr SDL_Color kWhite{255, 255, 255, 255};
constexpr SDL_Color kRed{255, 0, 0, 255};
constexpr SDL_Color kBlue{0, 0, 255, 255};
constexpr SDL_Color kBlack{0, 0, 0, 255};

// The colour of one pixel of the window as last presented (the software renderer draws into
// the window's surface).
SDL_Color windowPixel(int x, int y) {
  const SDL_Surface* surface = SDL_GetWindowSurface(getWindow());
  const auto* row = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch;
  const Uint32 value = reinterpret_cast<const Uint32*>(row)[x];
  SDL_Color colour{0, 0, 0, 255};
  SDL_GetRGB(value, surface->format, &colour.r, &colour.g, &colour.b);
  return colour;
}

std::string describe(SDL_Color c) {
  return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
}

void pressKey(SDL_Scancode key, Uint16 modifiers = KMOD_NONE, Uint8 repeat = 0) {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.state = SDL_PRESSED;
  event.key.repeat = repeat;
  event.key.keysym.scancode = key;
  event.key.keysym.mod = modifiers;
  SDL_PushEvent(&event);
  pollInput();
}

bool fullScreen() {
  return (SDL_GetWindowFlags(getWindow()) & SDL_WINDOW_FULLSCREEN_DESKTOP) ==
         SDL_WINDOW_FULLSCREEN_DESKTOP;
}

// A picture over the whole 800 × 600, as the world's drawing is: no frame clears beneath it.
class CoveringSprite : public TarnwickApp::Sprite {
 public:
  bool coversTarget() const override { return true; }
};

// The window shows one picture: a red top-left quarter on white, or all blue after a fade.
class GameWindow : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    quartered = new Bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    quartered->clear(kWhite);
    quartered->fillRect({0, 0, SCREEN_WIDTH / 2, SCREEN_HEIGHT / 2}, kRed);
    blue = new Bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    blue->clear(kBlue);
    sprite = new CoveringSprite();
    sprite->setBitmap(quartered, true);
  }
  void TearDown() override {
    SDL_SetWindowFullscreen(getWindow(), 0);
    SDL_SetWindowSize(getWindow(), SCREEN_WIDTH, SCREEN_HEIGHT);
    delete sprite;
    delete blue;
    delete quartered;
    GameTest::TearDown();
  }

  // Where the 800 × 600 picture lies in the window: as large as fits, 4:3, centred.
  static SDL_Rect pictureArea() {
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(getWindow(), &w, &h);
    const double scale =
        std::min(static_cast<double>(w) / SCREEN_WIDTH, static_cast<double>(h) / SCREEN_HEIGHT);
    const int pictureW = static_cast<int>(SCREEN_WIDTH * scale);
    const int pictureH = static_cast<int>(SCREEN_HEIGHT * scale);
    return {(w - pictureW) / 2, (h - pictureH) / 2, pictureW, pictureH};
  }

  // The quartered picture fills the picture area, up to its edges, and bars are black.
  static void expectQuarteredPictureWithBars() {
    const SDL_Rect p = pictureArea();
    const int midX = p.x + p.w / 2;
    const int midY = p.y + p.h / 2;
    expectPixel(p.x + 1, p.y + 1, kRed);
    expectPixel(midX - 2, midY - 2, kRed);
    expectPixel(midX + 2, midY - 2, kWhite);
    expectPixel(midX - 2, midY + 2, kWhite);
    expectPixel(p.x + p.w - 1, p.y + p.h - 1, kWhite);
    expectBars(p);
  }

  static void expectBars(const SDL_Rect& p) {
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(getWindow(), &w, &h);
    if (p.x > 0) {
      expectPixel(0, h / 2, kBlack);
      expectPixel(p.x - 1, h / 2, kBlack);
      expectPixel(w - 1, h / 2, kBlack);
    }
    if (p.y > 0) {
      expectPixel(w / 2, 0, kBlack);
      expectPixel(w / 2, p.y - 1, kBlack);
      expectPixel(w / 2, h - 1, kBlack);
    }
  }

  static void expectPixel(int x, int y, SDL_Color expected) {
    const SDL_Color seen = windowPixel(x, y);
    EXPECT_EQ(describe(expected), describe(seen)) << "at " << x << "," << y;
  }

  // Captures the quartered picture and fades to blue over two frames, checking the captured
  // picture and the last fade frame (half way) at the present window size.
  void fadeToBlue() {
    playOut(Transition().capture());
    ASSERT_EQ(SCREEN_WIDTH, capturedScreen()->width());
    EXPECT_EQ(describe(kRed), describe(pixelAt(capturedScreen()->texture(), 399, 299)))
        << "the capture holds the whole 800 × 600 picture, not the window";
    EXPECT_EQ(describe(kWhite), describe(pixelAt(capturedScreen()->texture(), 799, 599)));
    sprite->setBitmap(blue, true);
    playOut(Transition().fade(2));
    const SDL_Rect p = pictureArea();
    const SDL_Color halfWay = windowPixel(p.x + p.w - 1, p.y + p.h - 1);
    EXPECT_NEAR(127, halfWay.r, 1) << "white half faded to blue fills the picture";
    EXPECT_EQ(255, halfWay.b);
    expectBars(p);
    flipFrame();
    expectPixel(p.x + 1, p.y + 1, kBlue);
    sprite->setBitmap(quartered, true);
  }

  Bitmap* quartered = nullptr;
  Bitmap* blue = nullptr;
  TarnwickApp::Sprite* sprite = nullptr;
};

TEST_F(GameWindow, PictureFillsEveryWindowShapeAndFullScreenToggles) {
  EXPECT_STREQ("Game", SDL_GetWindowTitle(getWindow()));
  const Uint32 flags = SDL_GetWindowFlags(getWindow());
  EXPECT_TRUE(flags & SDL_WINDOW_RESIZABLE);
  EXPECT_TRUE(flags & SDL_WINDOW_ALLOW_HIGHDPI) << "sharp on high-DPI displays";
  int w = 0;
  int h = 0;
  SDL_GetWindowSize(getWindow(), &w, &h);
  EXPECT_EQ(SCREEN_WIDTH, w) << "opens at 800 × 600 as ever";
  EXPECT_EQ(SCREEN_HEIGHT, h);
  flipFrame();
  expectQuarteredPictureWithBars();

  const SDL_Point sizes[] = {{1200, 900}, {1600, 900}, {800, 900}};
  for (const SDL_Point& size : sizes) {
    SCOPED_TRACE(std::to_string(size.x) + " × " + std::to_string(size.y));
    SDL_SetWindowSize(getWindow(), size.x, size.y);
    // Whatever the window held before: only the bars' own clear makes them black.
    SDL_SetRenderDrawColor(getRenderer(), 1, 2, 3, 255);
    SDL_RenderClear(getRenderer());
    flipFrame();
    expectQuarteredPictureWithBars();
    fadeToBlue();
  }

  pressKey(SDL_SCANCODE_F11);
  ASSERT_TRUE(fullScreen());
  flipFrame();
  expectQuarteredPictureWithBars();
  pressKey(SDL_SCANCODE_F11, KMOD_NONE, 1);
  EXPECT_TRUE(fullScreen()) << "a held key's repeats change nothing";
  pressKey(SDL_SCANCODE_RETURN);
  EXPECT_TRUE(fullScreen()) << "Enter alone is no shortcut";
  pressKey(SDL_SCANCODE_RETURN, KMOD_LALT);
  EXPECT_FALSE(fullScreen());
  flipFrame();
  expectQuarteredPictureWithBars();
  pressKey(SDL_SCANCODE_RETURN, KMOD_RALT);
  EXPECT_TRUE(fullScreen());
}

}  // namespace
