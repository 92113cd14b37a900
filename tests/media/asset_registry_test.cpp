#include "media/asset_registry.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "graphics/bitmap.h"
#include "media/sound.h"
#include "support/game_test.h"
#include "support/log_capture.h"
#include "support/test_assets.h"

namespace fs = std::filesystem;

namespace {

// A registry of its own over an asset directory of the test's making.
class RegistryTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    dir = fs::temp_directory_path() / ("tarnwick-registry-" + std::to_string(getpid()));
    fs::create_directories(dir / "assets" / "x");
    const fs::path shared = fs::path(TestAssets::directory()) / "assets";
    fs::copy_file(shared / "images" / "title.png", dir / "assets" / "a.png");
    fs::copy_file(shared / "images" / "title.png", dir / "assets" / "x" / "y.png");
    fs::copy_file(shared / "sound" / "title.wav", dir / "assets" / "s.wav");
    ASSERT_NO_THROW(fs::current_path(dir));
  }
  void TearDown() override {
    ASSERT_EQ(0, chdir(TestAssets::directory().c_str()));
    fs::remove_all(dir);
    GameTest::TearDown();
  }
  // Loads `listText` into a fresh registry and returns the log it wrote.
  std::string load(const std::string& listText) {
    std::ofstream(dir / "assets" / "assets_list.json") << listText;
    const LogCapture capture;
    registry = std::make_unique<AssetRegistry>();
    registry->loadAll();
    const std::string log = capture.text();
    return log.substr(log.find("Loading all assets"));
  }

  fs::path dir;
  std::unique_ptr<AssetRegistry> registry;
};

TEST_F(RegistryTest, LoadsInNameOrderPicturesFirst) {
  const std::string log =
      load(R"({"sound": {"s": "s.wav"}, "bitmap": {"b": "a.png", "a": "x/y.png"}})");
  EXPECT_EQ(
      "Loading all assets...\nConfiguration loaded\n"
      "Loading asset a(assets/x/y.png)\nLoading asset b(assets/a.png)\n"
      "Loading asset s(assets/s.wav)\nAll assets loaded.\n",
      log);
  EXPECT_EQ(800, registry->bitmap("a")->width());
  EXPECT_NE(nullptr, registry->sound("s")->chunk());
}

TEST_F(RegistryTest, PicturesAndSoundsAreSeparateNameSpaces) {
  load(R"({"bitmap": {"title": "a.png"}, "sound": {"title": "s.wav"}})");
  EXPECT_NE(static_cast<void*>(registry->bitmap("title")),
            static_cast<void*>(registry->sound("title")));
  EXPECT_THROW(registry->bitmap("Title"), std::out_of_range) << "names are case-sensitive";
  EXPECT_THROW(registry->sound("a"), std::out_of_range);
}

TEST_F(RegistryTest, DuplicateNameKeepsTheLastFile) {
  const std::string log = load(R"({"bitmap": {"n": "missing.png", "n": "a.png"}})");
  EXPECT_NE(std::string::npos, log.find("Loading asset n(assets/a.png)\n"));
  EXPECT_EQ(std::string::npos, log.find("missing.png"));
}

TEST_F(RegistryTest, EmptyOrNullListLoadsNothing) {
  const std::string quiet = "Loading all assets...\nConfiguration loaded\nAll assets loaded.\n";
  EXPECT_EQ(quiet, load("{}"));
  EXPECT_EQ(quiet, load("null"));
  EXPECT_EQ(quiet, load(R"({"bitmap": [], "sound": null, "other": 5})"));
}

TEST_F(RegistryTest, BrokenFilesAreLoggedAndRegisteredAllTheSame) {
  std::ofstream(dir / "assets" / "broken.png") << "not a picture";
  std::ofstream(dir / "assets" / "broken.ogg") << "not a sound";
  const std::string log = load(R"({"bitmap": {"p": "broken.png"}, "sound": {"s": "broken.ogg"}})");
  EXPECT_NE(std::string::npos, log.find("while loading:assets/broken.png\n"));
  EXPECT_NE(std::string::npos, log.find("Loading assets/broken.ogg error!\n"));
  EXPECT_EQ(nullptr, registry->bitmap("p")->texture());
  EXPECT_EQ(nullptr, registry->sound("s")->chunk());
  EXPECT_NE(std::string::npos, log.find("All assets loaded.\n"));
}

TEST_F(RegistryTest, NamesEveryRequiredAssetThatIsMissing) {
  load(R"({"bitmap": {"title": "a.png"}, "sound": {"damage": "s.wav"}})");
  const std::vector<std::string> missing = registry->missingRequiredAssets();
  EXPECT_EQ(48u + 4u, missing.size());
  EXPECT_EQ("bitmap \"gameover\"", missing.front());
  EXPECT_EQ("sound \"serval_cat_atk_long\"", missing.back());
  EXPECT_TRUE(AssetRegistry::instance()->missingRequiredAssets().empty());
}

}  // namespace
