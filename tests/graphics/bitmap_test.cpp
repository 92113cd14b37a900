#include "graphics/bitmap.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/app_context.h"
#include "support/game_test.h"
#include "support/log_capture.h"

namespace {

constexpr SDL_Color kWhite{255, 255, 255, 255};
constexpr SDL_Color kRed{255, 0, 0, 255};
constexpr SDL_Color kClear{0, 0, 0, 0};

bool same(SDL_Color a, SDL_Color b) {
  return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

bool sameRect(SDL_Rect a, SDL_Rect b) {
  return SDL_RectEquals(&a, &b);
}

class BitmapDrawing : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    canvas = new Bitmap(100, 100);
    canvas->clear(kClear);
  }
  void TearDown() override {
    delete canvas;
    GameTest::TearDown();
  }
  bool painted(int x, int y) const { return pixelAt(canvas->texture(), x, y).a != 0; }
  // How many pixels of `a` and `b`, over the size of `a`, differ.
  int differingPixels(const Bitmap& a, const Bitmap& b) const {
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
      for (int x = 0; x < a.width(); ++x) {
        differing += !same(pixelAt(a.texture(), x, y), pixelAt(b.texture(), x, y));
      }
    }
    return differing;
  }

  Bitmap* canvas = nullptr;
};

TEST_F(BitmapDrawing, TargetsKeepTransparency) {
  EXPECT_TRUE(SDL_ISPIXELFORMAT_ALPHA(Bitmap::targetFormat()));
  EXPECT_EQ(0, pixelAt(canvas->texture(), 50, 50).a);
}

TEST_F(BitmapDrawing, CircleIsMadeOfVerticalLinesWithinTheRadius) {
  canvas->fillCircle(Point(50, 50), 10, kRed);
  EXPECT_TRUE(painted(50, 40));
  EXPECT_TRUE(painted(50, 60));
  EXPECT_FALSE(painted(50, 39));
  EXPECT_FALSE(painted(50, 61));
  EXPECT_TRUE(painted(40, 50)) << "the outermost columns are single points";
  EXPECT_FALSE(painted(40, 49));
  EXPECT_FALSE(painted(39, 50));
  EXPECT_TRUE(painted(60, 50));
}

TEST_F(BitmapDrawing, SectorRunsCounterClockwiseOnScreen) {
  canvas->fillSector(50, 50, 20, kRed, 0.0, 3.14159265 / 2);
  EXPECT_TRUE(painted(60, 40)) << "upper right";
  EXPECT_TRUE(painted(50, 50)) << "the centre has angle 0";
  EXPECT_FALSE(painted(40, 40)) << "upper left";
  EXPECT_FALSE(painted(60, 60)) << "lower right";
  EXPECT_FALSE(painted(70, 30)) << "outside the radius";
}

TEST_F(BitmapDrawing, SectorDrawsNothingForAnEmptyRangeAndSkipsTheCentreAfterZero) {
  SDL_ClearError();
  canvas->fillSector(50, 50, 20, kRed, 2.0, 1.0);
  EXPECT_STREQ("", SDL_GetError()) << "no empty batch of points handed to SDL";
  EXPECT_FALSE(painted(50, 50));
  EXPECT_FALSE(painted(60, 40));
  canvas->fillSector(50, 50, 20, kRed, 0.5, 6.3);
  EXPECT_FALSE(painted(50, 50));
  EXPECT_TRUE(painted(40, 60));
}

TEST_F(BitmapDrawing, BlitStretchesAndRestoresTheSource) {
  Bitmap source(10, 10);
  source.clear(kWhite);
  SDL_SetTextureAlphaMod(source.texture(), 77);
  SDL_SetTextureBlendMode(source.texture(), SDL_BLENDMODE_ADD);
  canvas->blit(&source, nullptr, nullptr, 255);
  EXPECT_TRUE(same(kWhite, pixelAt(canvas->texture(), 99, 99)));
  Uint8 alpha = 0;
  SDL_BlendMode blend;
  SDL_GetTextureAlphaMod(source.texture(), &alpha);
  SDL_GetTextureBlendMode(source.texture(), &blend);
  EXPECT_EQ(77, alpha);
  EXPECT_EQ(SDL_BLENDMODE_ADD, blend);
}

TEST_F(BitmapDrawing, ClearLeavesTheTargetAndTheDrawColourAsTheyWere) {
  SDL_SetRenderDrawColor(getRenderer(), 1, 2, 3, 4);
  canvas->clear(kRed);
  EXPECT_EQ(nullptr, SDL_GetRenderTarget(getRenderer())) << "the window stays the target";
  Bitmap picture(10, 10);
  SDL_SetRenderTarget(getRenderer(), picture.texture());
  canvas->clear(kRed);
  EXPECT_EQ(picture.texture(), SDL_GetRenderTarget(getRenderer()))
      << "a picture being drawn stays the target";
  SDL_SetRenderTarget(getRenderer(), nullptr);
  SDL_Color colour;
  SDL_GetRenderDrawColor(getRenderer(), &colour.r, &colour.g, &colour.b, &colour.a);
  EXPECT_TRUE(same(SDL_Color{1, 2, 3, 4}, colour));
  EXPECT_TRUE(same(kRed, pixelAt(canvas->texture(), 0, 0)));
}

TEST_F(BitmapDrawing, RectanglesOutlineAndFill) {
  canvas->drawRect({10, 10, 20, 20}, kRed);
  EXPECT_TRUE(painted(10, 10));
  EXPECT_TRUE(painted(29, 29));
  EXPECT_FALSE(painted(20, 20));
  canvas->fillRect({10, 10, 20, 20}, kRed);
  EXPECT_TRUE(painted(20, 20));
  EXPECT_EQ(canvas->texture(), SDL_GetRenderTarget(getRenderer())) << "the bitmap stays the target";
}

TEST_F(BitmapDrawing, PictureThatCannotBeMadeHasNoTexture) {
  // Four bytes a pixel: a row wider than SDL can address.
  Bitmap tooWide(1 << 30, 2);
  EXPECT_EQ(nullptr, tooWide.texture());
  EXPECT_EQ(1 << 30, tooWide.width()) << "the size asked for stays";
  EXPECT_EQ(2, tooWide.height());

  const LogCapture capture;
  Bitmap missing("assets/no-such-picture.png");
  const std::string log = capture.text();
  EXPECT_EQ(nullptr, missing.texture()) << "a missing file";
  EXPECT_EQ(0, missing.width());
  EXPECT_EQ(0, missing.height());
  EXPECT_EQ(0u, log.find("Load Image error("));
  EXPECT_NE(std::string::npos, log.find(") while loading:assets/no-such-picture.png\n"));
}

// A loaded picture of 160 × 60 pixels: its first 50 columns clear, the next 50 opaque, the rest
// half clear; one clear pixel inside the opaque band.
Bitmap::Decoded skyAndGround() {
  Bitmap::Decoded decoded;
  decoded.surface.reset(SDL_CreateRGBSurfaceWithFormat(0, 160, 60, 32, SDL_PIXELFORMAT_RGBA32));
  SDL_Surface* surface = decoded.surface.get();
  for (int y = 0; y < surface->h; ++y) {
    auto* row =
        reinterpret_cast<Uint32*>(static_cast<Uint8*>(surface->pixels) + y * surface->pitch);
    for (int x = 0; x < surface->w; ++x) {
      const Uint8 alpha = x < 50 ? 0 : x < 100 ? 255 : static_cast<Uint8>(x + y);
      row[x] = SDL_MapRGBA(surface->format, static_cast<Uint8>(3 * x), static_cast<Uint8>(4 * y),
                           90, alpha);
    }
  }
  static_cast<Uint32*>(surface->pixels)[30 * surface->w + 70] = 0;
  decoded.coverage = TileCoverage(surface);
  return decoded;
}

TEST_F(BitmapDrawing, LoadedPictureCopiedPartByPartShowsWhatBlendingItWholeWould) {
  Bitmap picture("sky and ground", skyAndGround());
  std::vector<SDL_Rect> opaque;
  std::vector<SDL_Rect> mixed;
  const SDL_Rect all{0, 0, 160, 60};
  TileCoverage coverage(skyAndGround().surface.get());
  coverage.forEachPart(all, TileCoverage::Kind::opaque,
                       [&](const SDL_Rect& r) { opaque.push_back(r); });
  coverage.forEachPart(all, TileCoverage::Kind::mixed,
                       [&](const SDL_Rect& r) { mixed.push_back(r); });
  ASSERT_EQ(1u, opaque.size()) << "the clear pixel's tile is mixed";
  EXPECT_TRUE(sameRect(SDL_Rect{50, 50, 50, 10}, opaque[0]));
  ASSERT_EQ(2u, mixed.size()) << "a run a row, the clear columns left out";
  EXPECT_TRUE(sameRect(SDL_Rect{50, 0, 110, 50}, mixed[0]));
  EXPECT_TRUE(sameRect(SDL_Rect{100, 50, 60, 10}, mixed[1]));

  // Over a half-clear canvas, at offsets that cut tiles and leave the canvas on every side.
  Bitmap blended(100, 100);
  for (Bitmap* target : {canvas, &blended}) target->clear(SDL_Color{20, 200, 40, 128});
  for (const SDL_Rect& to : {SDL_Rect{-37, 5, 150, 50}, SDL_Rect{13, 61, 150, 50}}) {
    const SDL_Rect from{7, 3, 150, 50};
    canvas->blit(&picture, &from, &to, 255);
    SDL_SetRenderTarget(getRenderer(), blended.texture());
    SDL_SetTextureBlendMode(picture.texture(), SDL_BLENDMODE_BLEND);
    SDL_RenderCopy(getRenderer(), picture.texture(), &from, &to);
    SDL_SetRenderTarget(getRenderer(), nullptr);
  }
  EXPECT_EQ(0, differingPixels(blended, *canvas));
  EXPECT_EQ(128, pixelAt(canvas->texture(), 5, 30).a) << "the clear columns drew nothing";

  // Made from its shown parts alone, the picture holds what blending the whole decoded file onto
  // a clear target gives.
  Bitmap whole(160, 60);
  whole.clear(kClear);
  SDL_Texture* file = SDL_CreateTextureFromSurface(getRenderer(), skyAndGround().surface.get());
  SDL_SetTextureBlendMode(file, SDL_BLENDMODE_BLEND);
  whole.drawAtOnce([file] { SDL_RenderCopy(getRenderer(), file, nullptr, nullptr); });
  SDL_DestroyTexture(file);
  EXPECT_EQ(0, differingPixels(whole, picture));
}

// A sprite's copy, part by part as a GPU draws it: shrunk, mirrored and turned, each run of tiles
// lands where the whole picture's copy puts it, with the same pixels.
TEST_F(BitmapDrawing, PictureTurnedPartByPartShowsWhatTurningItWholeWould) {
  Bitmap picture("sky and ground", skyAndGround());
  Bitmap whole(100, 100);
  const SDL_Rect from{0, 0, 160, 60};
  const SDL_Rect to{12, 31, 80, 30};
  const SDL_Point pivot{40, 20};
  for (const SDL_RendererFlip flip : {SDL_FLIP_NONE, SDL_FLIP_HORIZONTAL, SDL_FLIP_VERTICAL}) {
    for (const double degrees : {0.0, 90.0, 180.0, 270.0}) {
      for (Bitmap* target : {canvas, &whole}) target->clear(SDL_Color{20, 200, 40, 128});
      canvas->drawAtOnce(
          [&] { Bitmap::drawTurnedPartByPart(&picture, from, to, degrees, pivot, flip); });
      whole.drawAtOnce([&] {
        SDL_SetTextureBlendMode(picture.texture(), SDL_BLENDMODE_BLEND);
        SDL_RenderCopyEx(getRenderer(), picture.texture(), &from, &to, degrees, &pivot, flip);
      });
      EXPECT_EQ(0, differingPixels(whole, *canvas))
          << "flip " << flip << ", " << degrees << " degrees";
    }
  }
}

TEST_F(BitmapDrawing, LoadedPictureKeepsItsSizeAndPixels) {
  Bitmap title("assets/images/title.png");
  EXPECT_EQ(800, title.width());
  EXPECT_EQ(600, title.height());
  EXPECT_EQ(255, pixelAt(title.texture(), 10, 10).a);
}

}  // namespace
