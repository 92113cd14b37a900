#include "media/asset_list.h"

#include <nlohmann/json.hpp>

namespace {

using json = nlohmann::json;

// Reads one table ("bitmap" or "sound"). Absent or null means empty, as does an empty array.
bool readTable(const json& root, const char* table, const std::string& sourceName,
               AssetList::Entries& entries, std::string& error) {
  const auto member = root.find(table);
  if (member == root.end() || member->is_null()) return true;
  if (member->is_array() && member->empty()) return true;
  if (!member->is_object()) {
    error = sourceName + ": \"" + table + "\" must be an object of asset names, not " +
            member->type_name();
    return false;
  }
  for (const auto& [name, file] : member->items()) {
    if (!file.is_string()) {
      error = sourceName + ": \"" + table + "\" entry \"" + name +
              "\" must name a file as a string, not " + file.type_name();
      return false;
    }
    std::string fileName = file.get<std::string>();
    // A path ends at its first NUL: the file opened would not be the file named.
    if (fileName.find('\0') != std::string::npos) {
      error = sourceName + ": \"" + table + "\" entry \"" + name +
              "\" names a file with a NUL character";
      return false;
    }
    entries.emplace_back(name, std::move(fileName));
  }
  return true;
}

}  // namespace

bool AssetList::read(std::istream& input, const std::string& sourceName, std::string& error) {
  json root;
  try {
    // The list is one JSON value and nothing after it: trailing text means a damaged file.
    root = json::parse(input);
  } catch (const json::exception& e) {
    error = sourceName + ": not a readable JSON text (" + e.what() + ")";
    return false;
  }
  parsed_ = true;
  if (root.is_null()) return true;
  if (!root.is_object()) {
    error = sourceName + ": the root must be an object, not " + std::string(root.type_name());
    return false;
  }
  return readTable(root, "bitmap", sourceName, bitmaps_, error) &&
         readTable(root, "sound", sourceName, sounds_, error);
}
