// `cmake --install` into a fresh prefix: the desktop entry's command starts the installed game
// from a directory without assets, and the title shows.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "e2e/play_steps.h"
#include "e2e/real_game.h"
#include "e2e/screen_picture.h"

namespace {

constexpr double kStartSeconds = 20.0;
constexpr double kTitleFadeSeconds = 1.0;  // the title's 20-frame fade-in, with room to spare
constexpr double kEndSeconds = 15.0;
// Mean difference per colour channel (0 to 255) below which the screen shows the picture.
constexpr double kSamePicture = 8.0;

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
  ASSERT_TRUE(game.waitForLog("Sprite created!", kStartSeconds)) << game.log();
  EXPECT_EQ(std::string::npos, game.log().find("error")) << "every asset loads";
  std::this_thread::sleep_for(std::chrono::duration<double>(kTitleFadeSeconds));
  const ScreenPicture title(std::string(TARNWICK_SOURCE_DIR) + "/assets/images/title.png");
  EXPECT_LT(PlaySteps::look(game, "installed-title").differenceFrom(title, 0, 0), kSamePicture)
      << PlaySteps::screenshotPath("installed-title");

  game.closeWindow();
  EXPECT_EQ(0, game.waitForExit(kEndSeconds));
}

}  // namespace
