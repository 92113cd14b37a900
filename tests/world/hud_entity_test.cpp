#include "world/hud_entity.h"

#include <gtest/gtest.h>

#include "app/app_context.h"
#include "graphics/bitmap.h"
#include "support/game_test.h"
#include "support/log_capture.h"
#include "support/test_assets.h"
#include "world/world_container.h"

namespace {

class HudTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    world = new WorldContainer(0);
    hud = &world->hud();
  }
  void TearDown() override {
    delete world;
    GameTest::TearDown();
  }
  // The gauge picture as the next frame shows it.
  SDL_Color gaugePixel(int x, int y) {
    hud->redrawGauge();
    return pixelAt(hud->gaugeBitmap->texture(), x, y);
  }
  bool isFill(SDL_Color c) { return c.r == 0 && c.g == 200 && c.b == 0 && c.a == 255; }
  bool isBlack(SDL_Color c) { return c.r == 0 && c.g == 0 && c.b == 0 && c.a == 255; }

  WorldContainer* world = nullptr;
  HudEntity* hud = nullptr;
};

TEST_F(HudTest, FullHealthShowsTheWholeFill) {
  hud->setHealth(10000.0);
  EXPECT_TRUE(isFill(gaugePixel(75, 75)));
  EXPECT_TRUE(isFill(gaugePixel(75, 140)));
  hud->setHealth(25000.0);
  EXPECT_TRUE(isFill(gaugePixel(75, 140)));
}

TEST_F(HudTest, HalfHealthBlackensTheLowerHalf) {
  hud->setHealth(5000.0);
  EXPECT_TRUE(isFill(gaugePixel(75, 20))) << "upper half";
  EXPECT_TRUE(isFill(gaugePixel(120, 70)));
  EXPECT_TRUE(isBlack(gaugePixel(75, 130))) << "lower half";
  EXPECT_TRUE(isBlack(gaugePixel(30, 80)));
}

TEST_F(HudTest, NoHealthBlackensTheDiscButNotTheCorners) {
  hud->setHealth(-30.0);
  EXPECT_TRUE(isBlack(gaugePixel(75, 75)));
  EXPECT_TRUE(isBlack(gaugePixel(75, 6)));
  EXPECT_TRUE(isFill(gaugePixel(2, 2))) << "outside radius 70 the fill stays";
}

TEST_F(HudTest, ManyHealthChangesInOneFrameShowTheLast) {
  for (int i = 0; i < 200; ++i) hud->setHealth(5000.0 + 5 * i);
  hud->setHealth(5000.0);
  EXPECT_TRUE(isBlack(gaugePixel(75, 130)));
}

TEST_F(HudTest, WeaponPlateFollowsTheWeaponInHand) {
  int32_t weapon = 1;
  const LogCapture log;
  hud->onEvent(WeaponReport{weapon});
  EXPECT_TRUE(hud->weaponSprite->shown());
  EXPECT_EQ(120, hud->weaponSprite->width());
  weapon = 2;
  hud->onEvent(WeaponReport{weapon});
  EXPECT_TRUE(hud->weaponSprite->shown());
  weapon = 0;
  hud->onEvent(WeaponReport{weapon});
  EXPECT_FALSE(hud->weaponSprite->shown());
  EXPECT_EQ("Setting name...\n", log.text());
}

TEST_F(HudTest, BossBarFollowsTheBossReport) {
  EXPECT_FALSE(hud->overlaySprite->shown()) << "no bar before the boss";
  BossStatus status{true, 0.5};
  hud->onEvent(status);
  hud->update();
  SDL_Texture* layer = hud->overlayBitmap->texture();
  EXPECT_EQ(255, pixelAt(layer, 62 + 337, 590).r) << "338 red pixels";
  EXPECT_EQ(128, pixelAt(layer, 62 + 338, 590).r) << "then grey";
  EXPECT_EQ(255, pixelAt(layer, 60, 580).a) << "black outline";
  EXPECT_TRUE(hud->overlaySprite->shown());
  hud->update();
  status = {true, 0.25};
  hud->onEvent(status);
  hud->update();
  EXPECT_EQ(255, pixelAt(layer, 62 + 168, 590).r) << "the bar shrinks with the boss's health";
  EXPECT_EQ(128, pixelAt(layer, 62 + 169, 590).r);
  status = {false, 0.0};
  hud->onEvent(status);
  hud->update();
  EXPECT_FALSE(hud->overlaySprite->shown());
  EXPECT_EQ(0, pixelAt(layer, 100, 590).a);
}

TEST(HudConstruction, LogsItsStepsInOrder) {
  startHeadlessGame();
  const LogCapture capture;
  WorldContainer* world = new WorldContainer(0);
  const std::string log = capture.text();
  const std::string hudLog = log.substr(log.find("Creating overlay"));
  EXPECT_EQ(0u,
            hudLog.find("Creating overlay...\nSprite created!\nCreaing hud...\nSprite created!\n"
                        "Sprite created!\nInitializing hp...\nInitializing hp...\n"
                        "Initializing hp...\nSprite created!\nHud created!\n"));
  delete world;
}

}  // namespace
