#include "graphics/sprite.h"

#include <gtest/gtest.h>

#include "app/app_context.h"
#include "graphics/bitmap.h"
#include "graphics/draw_list.h"
#include "support/game_test.h"
#include "support/log_capture.h"

namespace {

class SpriteTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    picture = new Bitmap(100, 50);
  }
  void TearDown() override {
    delete picture;
    GameTest::TearDown();
  }
  Bitmap* picture = nullptr;
};

bool sameRect(SDL_Rect a, SDL_Rect b) {
  return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

TEST_F(SpriteTest, PivotLandsOnThePosition) {
  TarnwickApp::Sprite sprite;
  sprite.setBitmap(picture, true);
  sprite.setCenterX(50);
  sprite.setCenterY(25);
  sprite.setX(400);
  sprite.setY(300);
  EXPECT_TRUE(sameRect({350, 275, 100, 50}, sprite.destination()));
  sprite.setScaleX(0.5);
  sprite.setScaleY(0.5);
  EXPECT_TRUE(sameRect({375, 288, 50, 25}, sprite.destination()));
  EXPECT_EQ(25, sprite.scaledPivot().x);
  EXPECT_EQ(12, sprite.scaledPivot().y) << "12.5 truncates";
}

TEST_F(SpriteTest, TurnsByTheGamesOwnDegreeFactor) {
  TarnwickApp::Sprite sprite;
  sprite.setAngle(1.5707963267948966);
  EXPECT_NEAR(90.0066, sprite.angleInDegrees(), 1e-4);
}

TEST_F(SpriteTest, NewSpriteIsHiddenAndLogsItsLife) {
  const LogCapture log;
  {
    TarnwickApp::Sprite sprite;
    EXPECT_FALSE(sprite.shown());
    EXPECT_EQ(0u, drawList->size());
  }
  EXPECT_EQ("Sprite created!\nSprite destructed!\nDestroyed drawable!\n", log.text());
}

TEST_F(SpriteTest, SwappingPicturesWithoutAdoptingKeepsSizeAndVisibility) {
  TarnwickApp::Sprite sprite;
  Bitmap larger(200, 200);
  sprite.setBitmap(&larger, false);
  EXPECT_FALSE(sprite.shown());
  EXPECT_EQ(0, sprite.width());
  sprite.setBitmap(picture, true);
  sprite.setBitmap(&larger, false);
  EXPECT_EQ(100, sprite.width());
  EXPECT_EQ(50, sprite.height());
  EXPECT_TRUE(sprite.shown());
}

TEST_F(SpriteTest, DrawsMirroredPicturesWhereTheyBelong) {
  Bitmap target(200, 100);
  target.clear({0, 0, 0, 0});
  Bitmap half(100, 50);
  half.clear({0, 0, 0, 0});
  half.fillRect({0, 0, 50, 50}, {255, 0, 0, 255});
  TarnwickApp::Sprite sprite;
  sprite.setBitmap(&half, true);
  sprite.setFlip(SDL_FLIP_HORIZONTAL);
  SDL_SetRenderTarget(getRenderer(), target.texture());
  sprite.draw();
  EXPECT_EQ(0, pixelAt(target.texture(), 10, 10).a) << "the red half is mirrored to the right";
  EXPECT_EQ(255, pixelAt(target.texture(), 90, 10).r);
}

}  // namespace
