// An asset list that names a file the game could not open as named.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "media/asset_list.h"

namespace {

TEST(BadAssetList, AFileNameWithANulCharacterIsRefused) {
  // Opened as a path, the name would end at the NUL and another file would be loaded.
  std::istringstream input(R"({"bitmap": {"title": "images/title.png\u0000.ogg"}})");
  AssetList list;
  std::string error;
  EXPECT_FALSE(list.read(input, "assets/assets_list.json", error));
  EXPECT_EQ("assets/assets_list.json: \"bitmap\" entry \"title\" names a file with a NUL character",
            error);
}

}  // namespace
