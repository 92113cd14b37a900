// Pictures and sounds gone bad, as the registry meets them in the asset list: a picture that is
// not an image, a PNG cut short, a sound that is not audio, an OGG cut short (also to a few
// bytes), and files that are not there. Each is logged with the game's own line and registered all
// the same; afterwards the picture draws nothing and the sound plays on no channel.

#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "graphics/bitmap.h"
#include "graphics/sprite.h"
#include "media/asset_registry.h"
#include "media/bad_files.h"
#include "media/sound.h"
#include "media/sound_playback.h"
#include "support/game_test.h"
#include "support/log_capture.h"
#include "support/test_assets.h"

namespace fs = std::filesystem;

namespace {

const char* const kList = R"({
  "bitmap": {"not_image": "images/not_image.png", "cut_png": "images/cut.png",
             "missing_png": "images/missing.png"},
  "sound": {"not_audio": "sound/not_audio.ogg", "cut_ogg": "sound/cut.ogg",
            "missing_ogg": "sound/missing.ogg", "stub_ogg": "sound/stub.ogg"}
})";

// An asset as the list names it and as the registry opens it, in the order it loads them.
struct Listed {
  const char* name;
  const char* path;
};
constexpr Listed kPictures[] = {{"cut_png", "assets/images/cut.png"},
                                {"missing_png", "assets/images/missing.png"},
                                {"not_image", "assets/images/not_image.png"}};
constexpr Listed kSounds[] = {{"cut_ogg", "assets/sound/cut.ogg"},
                              {"missing_ogg", "assets/sound/missing.ogg"},
                              {"not_audio", "assets/sound/not_audio.ogg"},
                              {"stub_ogg", "assets/sound/stub.ogg"}};
// Shorter than the mixer's first read of a sound's header.
constexpr size_t kStubBytes = 8;
constexpr SDL_Color kBackdrop{10, 20, 30, 255};

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line + "\n");
  return lines;
}

bool startsWith(const std::string& text, const std::string& start) {
  return text.compare(0, start.size(), start) == 0;
}

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A registry of its own over an asset directory holding only broken files.
class BadFilesLoading : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    dir = fs::temp_directory_path() / ("tarnwick-bad-files-" + std::to_string(getpid()));
    const fs::path assets = dir / "assets";
    fs::create_directories(assets / "images");
    fs::create_directories(assets / "sound");
    BadFiles::writeText(assets / "images" / "not_image.png");
    BadFiles::writeTruncated(BadFiles::realAssets() / "images" / "title.png",
                             assets / "images" / "cut.png");
    BadFiles::writeText(assets / "sound" / "not_audio.ogg");
    BadFiles::writeTruncated(BadFiles::realAssets() / "sound" / "damage.ogg",
                             assets / "sound" / "cut.ogg");
    BadFiles::writeStart(BadFiles::realAssets() / "sound" / "damage.ogg",
                         assets / "sound" / "stub.ogg", kStubBytes);
    std::ofstream(assets / "assets_list.json") << kList;
    ASSERT_NO_THROW(fs::current_path(dir));
    const LogCapture capture;
    registry = std::make_unique<AssetRegistry>();
    registry->loadAll();
    log = capture.text();
  }
  void TearDown() override {
    registry.reset();
    ASSERT_EQ(0, chdir(TestAssets::directory().c_str()));
    fs::remove_all(dir);
    GameTest::TearDown();
  }

  fs::path dir;
  std::unique_ptr<AssetRegistry> registry;
  std::string log;
};

TEST_F(BadFilesLoading, EachBrokenFileIsLoggedWithTheGamesLineAndLoadingGoesOn) {
  const std::vector<std::string> lines = linesOf(log.substr(log.find("Loading all assets")));
  ASSERT_EQ(2 + 2 * (std::size(kPictures) + std::size(kSounds)) + 1, lines.size()) << log;
  size_t at = 2;
  for (const Listed& picture : kPictures) {
    EXPECT_EQ(std::string("Loading asset ") + picture.name + "(" + picture.path + ")\n",
              lines[at++]);
    const std::string& error = lines[at++];
    EXPECT_TRUE(startsWith(error, BadFiles::pictureErrorStart())) << error;
    EXPECT_TRUE(endsWith(error, BadFiles::pictureErrorEnd(picture.path))) << error;
    EXPECT_GT(error.size(),
              BadFiles::pictureErrorStart().size() + BadFiles::pictureErrorEnd(picture.path).size())
        << "SDL's reason is given";
  }
  for (const Listed& sound : kSounds) {
    EXPECT_EQ(std::string("Loading asset ") + sound.name + "(" + sound.path + ")\n", lines[at++]);
    EXPECT_EQ(BadFiles::soundError(sound.path), lines[at++]);
  }
  EXPECT_EQ("All assets loaded.\n", lines.back());
}

// The browser reads only a sound's headers while loading; a stream found damaged later, as its
// samples are decoded, is logged then with the same line.
TEST_F(BadFilesLoading, SoundsDecodedInSpareTimeLogTheSameLines) {
  const LogCapture capture;
  AssetRegistry browsers;
  ASSERT_TRUE(browsers.beginLoading(AssetRegistry::Decoding::kSoundsInSpareTime));
  while (browsers.loadNext()) {
  }
  while (browsers.decodeInSpareTime(1.0)) {
  }
  const std::string browsersLog = capture.text();
  std::vector<std::string> lines = linesOf(browsersLog.substr(browsersLog.find("Loading all")));
  std::vector<std::string> expected = linesOf(log.substr(log.find("Loading all")));
  std::sort(lines.begin(), lines.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(expected, lines);
  for (const Listed& sound : kSounds) {
    EXPECT_EQ(nullptr, browsers.sound(sound.name)->chunk()) << sound.name;
  }
}

TEST_F(BadFilesLoading, ABrokenPictureIsRegisteredEmptyAndDrawsNothing) {
  Bitmap canvas(64, 64);
  for (const Listed& picture : kPictures) {
    const char* name = picture.name;
    Bitmap* broken = registry->bitmap(name);
    EXPECT_EQ(nullptr, broken->texture()) << name;
    EXPECT_EQ(0, broken->width()) << name;
    EXPECT_EQ(0, broken->height()) << name;

    canvas.clear(kBackdrop);
    canvas.blit(broken, nullptr, nullptr, 255);
    TarnwickApp::Sprite sprite;
    sprite.setBitmap(broken, true);
    sprite.setX(32);
    sprite.setY(32);
    SDL_SetRenderTarget(getRenderer(), canvas.texture());
    sprite.draw();
    SDL_SetRenderTarget(getRenderer(), nullptr);
    const SDL_Color seen = pixelAt(canvas.texture(), 32, 32);
    EXPECT_EQ(kBackdrop.r, seen.r) << name;
    EXPECT_EQ(kBackdrop.g, seen.g) << name;
    EXPECT_EQ(kBackdrop.b, seen.b) << name;
  }
}

TEST_F(BadFilesLoading, CopyingIntoABrokenPictureLeavesTheWindowAlone) {
  Bitmap picture(64, 64);
  picture.clear({200, 0, 0, 255});
  SDL_SetRenderTarget(getRenderer(), nullptr);
  SDL_SetRenderDrawColor(getRenderer(), kBackdrop.r, kBackdrop.g, kBackdrop.b, kBackdrop.a);
  SDL_RenderClear(getRenderer());
  registry->bitmap("cut_png")->blit(&picture, nullptr, nullptr, 255);
  EXPECT_EQ(kBackdrop.r, pixelOfTarget(10, 10).r);
}

TEST_F(BadFilesLoading, ABrokenSoundIsRegisteredSilentAndPlaysOnNoChannel) {
  for (const Listed& sound : kSounds) {
    const char* name = sound.name;
    Sound* broken = registry->sound(name);
    EXPECT_EQ(nullptr, broken->chunk()) << name;
    EXPECT_EQ(-1, playSound(broken, true, 500, -1, 128)) << name;
    EXPECT_EQ(-1, playSound(broken, false, 0, -1, 64)) << name;
  }
  EXPECT_EQ(0, Mix_Playing(ALL_CHANNELS));
}

}  // namespace
