// `cmake --install` into a fresh prefix: the desktop entry's command starts the installed game
// from a directory without assets, and the title shows.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "e2e/play_steps.h"
#include "e2e/real_game.h"
#include "e2e/screen_picture.h"

namespace {

// The value of `key` in a desktop entry; empty when absent.
std::string desktopValue(const std::filesystem::path& entry, const std::string& key) {
  std::ifstream in(entry);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
  }
  return "";
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
  EXPECT_EQ((prefix_ / "bin/tarnwick").string(), launcher);
  const ScreenPicture icon(desktopValue(entry, "Icon"));
  EXPECT_FALSE(icon.empty()) << "the icon is a picture";

  const std::filesystem::path elsewhere = prefix_ / "elsewhere";
  std::filesystem::create_directories(elsewhere);
  RealGame game(elsewhere.string(), launcher);
  ASSERT_TRUE(PlaySteps::waitForTitle(game)) << game.log();
  EXPECT_EQ(std::string::npos, game.log().find("error")) << "every asset loads";
  const ScreenPicture title = PlaySteps::assetPicture("title");
  EXPECT_LT(PlaySteps::look(game, "installed-title").differenceFrom(title, 0, 0),
            ScreenPicture::kSamePicture)
      << PlaySteps::screenshotPath("installed-title");

  game.closeWindow();
  EXPECT_EQ(0, game.waitForExit(PlaySteps::kEndSeconds));
}

}  // namespace
