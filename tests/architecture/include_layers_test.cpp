// The folders of src/ depend on each other one way, as docs/architecture.md draws them: a file
// that includes a header of a folder its own may not use fails here with its name and line.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

// The folders each folder may include besides its own. The actors reach the world only through
// arena/, which the world implements, and app/ sits below the game's folders apart from the main
// loop, which starts the title screen.
const std::map<std::string, std::set<std::string>> kMayInclude = {
    {"base", {}},
    {"physics", {}},
    {"graphics", {"base"}},
    {"media", {"base", "graphics", "physics"}},
    {"app", {"base", "graphics", "media"}},
    {"arena", {"base", "graphics", "media", "physics", "app"}},
    {"actors", {"base", "graphics", "media", "physics", "app", "arena"}},
    {"world", {"base", "graphics", "media", "physics", "app", "arena", "actors"}},
    {"scenes", {"base", "graphics", "media", "physics", "app", "arena", "actors", "world"}},
};

// The includes that reach above their folder's place, each one the game needs.
const std::set<std::pair<std::string, std::string>> kUpwardIncludes = {
    // The main loop shows the title screen first, then runs the current screen and carries out
    // the changes of screen it asks for.
    {"app/application.cpp", "scenes/scene_title.h"},
    {"app/application.cpp", "scenes/scene.h"},
};

bool allowed(const std::string& folder, const std::string& file, const std::string& header) {
  const std::string target = header.substr(0, header.find('/'));
  if (target == folder) return true;
  if (kUpwardIncludes.count({file, header}) != 0) return true;
  return kMayInclude.at(folder).count(target) != 0;
}

TEST(IncludeLayers, NoFolderIncludesAHigherOne) {
  const fs::path source = fs::path(TARNWICK_SOURCE_DIR) / "src";
  const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
  std::set<std::string> foldersSeen;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(source)) {
    const fs::path relative = fs::relative(entry.path(), source);
    const std::string folder = relative.begin()->string();
    // main.cpp, the entry point, stands above everything.
    if (!entry.is_regular_file() || relative == relative.filename()) continue;
    ASSERT_EQ(1u, kMayInclude.count(folder)) << "src/" << folder << "/ has no place in the layers";
    foldersSeen.insert(folder);
    std::ifstream in(entry.path());
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
      ++lineNumber;
      std::smatch match;
      if (!std::regex_search(line, match, include)) continue;
      EXPECT_TRUE(allowed(folder, relative.string(), match[1]))
          << "src/" << relative.string() << ":" << lineNumber << " includes " << match[1]
          << ", above " << folder << "/ (docs/architecture.md)";
    }
  }
  EXPECT_EQ(kMayInclude.size(), foldersSeen.size()) << "a folder of the layers has gone";
}

}  // namespace
