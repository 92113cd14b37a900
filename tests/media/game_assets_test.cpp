// The game's own asset list and files, loaded through the registry exactly as at start-up.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "graphics/bitmap.h"
#include "media/asset_registry.h"
#include "media/required_assets.h"
#include "media/sound.h"
#include "support/game_test.h"
#include "support/log_capture.h"
#include "support/test_assets.h"

namespace {

struct Size {
  const char* name;
  int width;
  int height;
};

const Size kFixedSizes[] = {
    {"title", 800, 600},      {"gameover", 800, 600},     {"panorama1", 800, 600},
    {"panorama2", 800, 600},  {"panorama3", 800, 600},    {"panorama4", 800, 600},
    {"hud_fill", 150, 150},   {"water_particle", 16, 16}, {"enemy", 128, 128},
    {"enemy_boss", 600, 600}, {"stage1", 3300, 600},      {"stage2", 3200, 1480},
    {"stage3", 4000, 2000},   {"stage4", 1000, 600},
};

class GameAssets : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    ASSERT_EQ(0, chdir(TARNWICK_SOURCE_DIR));
    const LogCapture capture;
    registry = std::make_unique<AssetRegistry>();
    loaded = registry->loadAll();
    log = capture.text();
  }
  void TearDown() override {
    ASSERT_EQ(0, chdir(TestAssets::directory().c_str()));
    GameTest::TearDown();
  }

  std::unique_ptr<AssetRegistry> registry;
  bool loaded = false;
  std::string log;
};

TEST_F(GameAssets, EveryRequiredNameLoadsWithoutError) {
  ASSERT_TRUE(loaded);
  EXPECT_TRUE(registry->missingRequiredAssets().empty());
  EXPECT_EQ(std::string::npos, log.find("error")) << log;
  for (const char* name : RequiredAssets::kBitmaps) {
    EXPECT_NE(nullptr, registry->bitmap(name)->texture()) << name;
  }
  for (const char* name : RequiredAssets::kSounds) {
    EXPECT_NE(nullptr, registry->sound(name)->chunk()) << name;
  }
}

// The game's loading decodes the sounds itself, side by side; the one-after-another loading
// leaves every sound to the mixer. Players must hear the same samples and read the same log.
TEST_F(GameAssets, BothLoadingWaysGiveTheSameLogAndTheSameSamples) {
  const LogCapture capture;
  AssetRegistry oneAfterAnother;
  ASSERT_TRUE(oneAfterAnother.loadAll(AssetRegistry::Decoding::kOneAfterAnother));
  const std::string oneAfterAnotherLog = capture.text();
  const auto loading = [](const std::string& text) {
    return text.substr(text.find("Loading all assets..."));
  };
  EXPECT_EQ(loading(oneAfterAnotherLog), loading(log));
  for (const char* name : RequiredAssets::kSounds) {
    const Mix_Chunk* mixers = oneAfterAnother.sound(name)->chunk();
    const Mix_Chunk* games = registry->sound(name)->chunk();
    ASSERT_NE(nullptr, mixers) << name;
    ASSERT_NE(nullptr, games) << name;
    ASSERT_EQ(mixers->alen, games->alen) << name;
    EXPECT_EQ(0, std::memcmp(mixers->abuf, games->abuf, mixers->alen)) << name;
  }
}

// The browser loads without the sounds' samples and decodes them a piece at a time after its
// frames, or at once when a sound is played before its turn: the log up to the last loading line
// is the same, and every sound ends with the same samples.
TEST_F(GameAssets, SoundsDecodedInSpareTimeAreTheSameSamples) {
  const LogCapture capture;
  AssetRegistry browsers;
  ASSERT_TRUE(browsers.beginLoading(AssetRegistry::Decoding::kSoundsInSpareTime));
  while (browsers.loadNext()) {
  }
  const std::string browsersLog = capture.text();
  EXPECT_EQ(log.substr(log.find("Loading all assets...")),
            browsersLog.substr(browsersLog.find("Loading all assets...")));
  EXPECT_TRUE(browsers.decodeInSpareTime(0.0)) << "no time, nothing decoded";
  const auto sameSamples = [&](const char* name) {
    const Mix_Chunk* spare = browsers.sound(name)->chunk();
    const Mix_Chunk* games = registry->sound(name)->chunk();
    ASSERT_NE(nullptr, spare) << name;
    ASSERT_EQ(games->alen, spare->alen) << name;
    EXPECT_EQ(0, std::memcmp(games->abuf, spare->abuf, games->alen)) << name;
  };
  sameSamples("last_boss");  // played before its turn
  int turns = 1;
  while (browsers.decodeInSpareTime(0.0001)) ++turns;
  EXPECT_GT(turns, 10) << "each turn keeps to its time";
  for (const char* name : RequiredAssets::kSounds) sameSamples(name);
  EXPECT_EQ(std::string::npos, capture.text().find("error")) << capture.text();
}

TEST_F(GameAssets, PicturesHaveTheSizesTheGameDrawsThemAt) {
  for (const Size& size : kFixedSizes) {
    EXPECT_EQ(size.width, registry->bitmap(size.name)->width()) << size.name;
    EXPECT_EQ(size.height, registry->bitmap(size.name)->height()) << size.name;
  }
}

TEST_F(GameAssets, HeroFramesShareOneCanvas) {
  for (const char* name : RequiredAssets::kBitmaps) {
    if (std::string(name).rfind("serval_cat_", 0) != 0) continue;
    EXPECT_EQ(512, registry->bitmap(name)->width()) << name;
    EXPECT_EQ(512, registry->bitmap(name)->height()) << name;
  }
}

TEST_F(GameAssets, OverlayFrameLeavesTheGaugeDiscVisible) {
  Bitmap* frame = registry->bitmap("hud");
  for (int dy = -60; dy <= 60; dy += 20) {
    for (int dx = -60; dx <= 60; dx += 20) {
      if (dx * dx + dy * dy > 65 * 65) continue;
      EXPECT_EQ(0, pixelAt(frame->texture(), 75 + dx, 75 + dy).a) << dx << "," << dy;
    }
  }
}

}  // namespace
