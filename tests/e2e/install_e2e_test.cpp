// The game as players install it, by `cmake --install` into a prefix of their choosing: the
// installed launcher starts the game from a directory without assets, the title shows and ESC
// quits.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "e2e/play_steps.h"
#include "e2e/real_game.h"
#include "e2e/screen_picture.h"

namespace {

// The sizes desktops ask the icon theme for, in px.
constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The value of `key` in a desktop entry; empty when absent.
std::string desktopValue(const std::filesystem::path& entry, const std::string& key) {
  std::ifstream in(entry);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
  }
  return "";
}

// Plays the installed game (started by `launcher` from `directory`) as far as the title and
// quits with ESC, as a player trying an install would.
void expectTitleThenQuit(const std::string& directory, const std::string& launcher,
                         const std::string& screenshotName) {
  RealGame game(directory, launcher);
  ASSERT_TRUE(PlaySteps::waitForTitle(game)) << game.log();
  EXPECT_EQ(std::string::npos, game.log().find("error")) << "every asset loads";
  const ScreenPicture title = PlaySteps::assetPicture("title");
  EXPECT_LT(PlaySteps::look(game, screenshotName).differenceFrom(title, 0, 0),
            ScreenPicture::kSamePicture)
      << PlaySteps::screenshotPath(screenshotName);
  game.holdKey("Escape");
  EXPECT_EQ(0, game.waitForExit(PlaySteps::kEndSeconds));
  const std::string ending = std::string(PlaySteps::kShutdownLines) + "Tarnwick exiting code 0\n";
  EXPECT_EQ(ending, PlaySteps::lastChars(game.log(), ending.size()));
}

class InstallE2E : public testing::Test {
 protected:
  void TearDown() override { std::filesystem::remove_all(prefix_); }

  const std::filesystem::path prefix_ =
      testing::TempDir() + "tarnwick-prefix-" + std::to_string(getpid());
};

TEST_F(InstallE2E, TheDesktopEntryStartsTheInstalledGameFromAnotherDirectory) {
  const std::string install = std::string(TARNWICK_CMAKE) +
                              " --install " TARNWICK_BUILD_DIR " --prefix " + prefix_.string() +
                              " >/dev/null";
  ASSERT_EQ(0, std::system(install.c_str()));
  const std::filesystem::path entry = prefix_ / "share/applications/tarnwick.desktop";
  ASSERT_TRUE(std::filesystem::exists(entry));
  const std::string launcher = desktopValue(entry, "Exec");
  EXPECT_EQ((prefix_ / "games/tarnwick").string(), launcher);
  for (const int size : kIconSizes) {
    const std::string theme =
        "share/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps/";
    const ScreenPicture icon((prefix_ / theme / desktopValue(entry, "Icon")).string() + ".png");
    EXPECT_EQ(size, icon.width()) << theme;
    EXPECT_EQ(size, icon.height()) << theme;
  }

  const std::filesystem::path elsewhere = prefix_ / "elsewhere";
  std::filesystem::create_directories(elsewhere);
  expectTitleThenQuit(elsewhere.string(), launcher, "installed-title");
}

}  // namespace
