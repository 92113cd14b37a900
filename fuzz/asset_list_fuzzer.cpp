// Feeds arbitrary bytes to the asset list reader, as if they were assets/assets_list.json. The
// reader must never crash, hang or throw: it either accepts the text, with every entry usable
// as a path under assets/, or says what is wrong. An accepted list also reads back unchanged
// from its own entries.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "media/asset_list.h"

namespace {

constexpr const char* kSourceName = "assets/assets_list.json";

void require(bool holds) {
  if (!holds) std::abort();
}

// Names in strictly ascending byte order (so each at most once), files free of NUL bytes,
// which would cut the path the registry opens short.
void checkEntries(const AssetList::Entries& entries) {
  for (size_t i = 0; i < entries.size(); ++i) {
    require(entries[i].second.find('\0') == std::string::npos);
    if (i > 0) require(entries[i - 1].first < entries[i].first);
  }
}

std::string listText(const AssetList& list) {
  nlohmann::json root = nlohmann::json::object();
  root["bitmap"] = nlohmann::json::object();
  root["sound"] = nlohmann::json::object();
  for (const auto& [name, file] : list.bitmaps()) root["bitmap"][name] = file;
  for (const auto& [name, file] : list.sounds()) root["sound"][name] = file;
  return root.dump();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::istringstream input(std::string(reinterpret_cast<const char*>(data), size));
  AssetList list;
  std::string error;
  if (!list.read(input, kSourceName, error)) {
    require(error.rfind(kSourceName, 0) == 0);
    return 0;
  }
  require(list.parsed() && error.empty());
  checkEntries(list.bitmaps());
  checkEntries(list.sounds());

  std::istringstream again(listText(list));
  AssetList reread;
  require(reread.read(again, kSourceName, error));
  require(reread.bitmaps() == list.bitmaps() && reread.sounds() == list.sounds());
  return 0;
}
