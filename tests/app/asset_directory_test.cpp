// Where the game looks for its assets when it is started away from them.

#include "app/asset_directory.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

size_t countOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(AssetDirectory, FindsTheSourceTreeFromTheBuildTreeElseSaysWhereItLookedAndHowToStart) {
  const fs::path start = fs::current_path();
  const fs::path root =
      fs::temp_directory_path() / ("tarnwick-nowhere-" + std::to_string(getpid()));
  const fs::path nowhere = root / "a" / "b" / "c" / "d";
  fs::create_directories(nowhere);
  fs::current_path(nowhere);

  const AssetDirectory stray(nowhere.string());
  EXPECT_FALSE(stray.enter());
  EXPECT_EQ(nowhere, fs::current_path()) << "the working directory stays as it was";
  const std::string message = stray.whereLooked();
  EXPECT_NE(std::string::npos,
            message.find("Tarnwick: no assets/assets_list.json in the working directory (" +
                         nowhere.string() + ")"))
      << message;
  EXPECT_EQ(3u, countOf(message, root.string())) << "the source tree and the data directory, "
                                                    "both beside the program: "
                                                 << message;
  EXPECT_NE(std::string::npos, message.find("start the game from the directory that holds "
                                            "assets/"))
      << message;

  const AssetDirectory built(fs::path(TARNWICK_BINARY).parent_path().string());
  EXPECT_TRUE(built.enter());
  EXPECT_TRUE(fs::equivalent(TARNWICK_SOURCE_DIR, fs::current_path()));

  fs::current_path(start);
  fs::remove_all(root);
}

}  // namespace
