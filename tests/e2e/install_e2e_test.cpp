// The game as players install it: by `cmake --install` into a prefix of their choosing, and as
// the Debian package through apt. Either way the installed launcher starts the game from a
// directory without assets, the title shows and ESC quits.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "e2e/play_steps.h"
#include "e2e/real_game.h"
#include "e2e/screen_picture.h"

namespace {

// The sizes desktops ask the icon theme for, in px.
constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
// Where scripts/package.sh leaves the package made from this build.
const std::filesystem::path kPackageDir = TARNWICK_BUILD_DIR "/package";
// apt waits this long for another apt or dpkg to let go of the package database, in s.
constexpr int kDpkgLockSeconds = 600;

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

// Runs a shell command; its exit status, with what it wrote in `transcript`.
int run(const std::string& command, std::string& transcript) {
  transcript.clear();
  FILE* out = popen((command + " 2>&1").c_str(), "r");
  if (out == nullptr) return -1;
  char buffer[4096];
  for (size_t read; (read = fread(buffer, 1, sizeof buffer, out)) > 0;)
    transcript.append(buffer, read);
  return pclose(out);
}

bool packageInstalled() {
  std::string status;
  run("dpkg-query -W -f='${db:Status-Status}' tarnwick", status);
  return status == "installed";
}

// Whether another installed package lists `path`: a shared directory dpkg keeps.
bool ownedByAnotherPackage(const std::string& path) {
  std::string owners;
  return run("dpkg-query -S '" + path + "'", owners) == 0;
}

int apt(const std::string& arguments, std::string& transcript) {
  return run("DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=" +
                 std::to_string(kDpkgLockSeconds) + " " + arguments,
             transcript);
}

// The package scripts/package.sh made from this build; empty when there is none.
std::string builtPackage() {
  std::error_code noDirectory;
  for (const auto& file : std::filesystem::directory_iterator(kPackageDir, noDirectory)) {
    const std::string name = file.path().filename().string();
    if (name.rfind("tarnwick_", 0) == 0 && file.path().extension() == ".deb") {
      return file.path().string();
    }
  }
  return "";
}

class PackageE2E : public testing::Test {
 protected:
  void SetUp() override {
#ifdef TARNWICK_SANITIZE
    GTEST_SKIP() << "a sanitized build is not packaged: the optimised build's suite installs it";
#endif
    if (geteuid() != 0) GTEST_SKIP() << "installing a package needs root";
    if (std::system("command -v apt-get >/dev/null") != 0) GTEST_SKIP() << "apt is unavailable";
    if (package_.empty()) {
      GTEST_SKIP() << "no package in " << kPackageDir
                   << ": make it with bash scripts/package.sh " TARNWICK_BUILD_DIR;
    }
    if (packageInstalled()) GTEST_SKIP() << "tarnwick is installed already; the test removes it";
  }
  void TearDown() override {
    std::string transcript;
    if (packageInstalled()) apt("purge tarnwick", transcript);
  }

  const std::string package_ = builtPackage();
};

TEST_F(PackageE2E, AptInstallsItThePlayerStartsItFromTheRootAndPurgingLeavesNothing) {
  std::string transcript;
  ASSERT_EQ(0, apt("install --no-install-recommends " + package_, transcript)) << transcript;
  ASSERT_TRUE(packageInstalled()) << transcript;
  ASSERT_EQ(0, run("dpkg -L tarnwick", transcript)) << transcript;
  std::vector<std::string> installedPaths;
  std::istringstream listing(transcript);
  for (std::string path; std::getline(listing, path);) {
    if (path != "/.") installedPaths.push_back(path);
  }
  for (const char* expected :
       {"/usr/games/tarnwick", "/usr/lib/games/tarnwick/tarnwick",
        "/usr/share/games/tarnwick/assets/assets_list.json",
        "/usr/share/applications/tarnwick.desktop", "/usr/share/man/man6/tarnwick.6.gz",
        "/usr/share/doc/tarnwick/copyright", "/usr/share/doc/tarnwick/changelog.gz"}) {
    EXPECT_NE(installedPaths.end(),
              std::find(installedPaths.begin(), installedPaths.end(), expected))
        << expected;
  }

  expectTitleThenQuit("/", "/usr/games/tarnwick", "package-title");

  ASSERT_EQ(0, apt("purge tarnwick", transcript)) << transcript;
  EXPECT_FALSE(packageInstalled());
  for (const std::string& path : installedPaths) {
    EXPECT_TRUE(!std::filesystem::exists(path) ||
                (std::filesystem::is_directory(path) && ownedByAnotherPackage(path)))
        << path << " is left behind";
  }
}

}  // namespace
