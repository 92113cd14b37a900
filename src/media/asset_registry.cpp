#include "media/asset_registry.h"

#include <cstdint>
#include <cstdio>
#include <fstream>

#include "app/app_context.h"
#include "graphics/bitmap.h"
#include "media/asset_list.h"
#include "media/required_assets.h"
#include "media/sound.h"

AssetRegistry* AssetRegistry::instance() {
  static AssetRegistry* registry = new AssetRegistry();
  return registry;
}

AssetRegistry::AssetRegistry() {
  logPrint("Map creating\n");
  bitmaps = new std::map<std::string, Bitmap*>();
  sounds = new std::map<std::string, Sound*>();
  // The number only identifies the map in the log.
  logPrint("Map created %d.\n", static_cast<int>(reinterpret_cast<intptr_t>(bitmaps)));
}

AssetRegistry::~AssetRegistry() {
  for (const auto& entry : *bitmaps) delete entry.second;
  for (const auto& entry : *sounds) delete entry.second;
  delete bitmaps;
  delete sounds;
}

bool AssetRegistry::loadAll() {
  logPrint("Loading all assets...\n");
  std::ifstream input(ASSET_LIST_PATH);
  if (!input) {
    std::fprintf(stderr, "Tarnwick: %s cannot be opened\n", ASSET_LIST_PATH);
    return false;
  }
  AssetList list;
  std::string error;
  const bool usable = list.read(input, ASSET_LIST_PATH, error);
  if (list.parsed()) logPrint("Configuration loaded\n");
  if (!usable) {
    std::fprintf(stderr, "Tarnwick: %s\n", error.c_str());
    return false;
  }
  for (const auto& [name, file] : list.bitmaps()) {
    const std::string path = std::string(ASSET_DIR) + file;
    logPrint("Loading asset %s(%s)\n", name.c_str(), path.c_str());
    loadBitmap(path, name);
  }
  for (const auto& [name, file] : list.sounds()) {
    const std::string path = std::string(ASSET_DIR) + file;
    logPrint("Loading asset %s(%s)\n", name.c_str(), path.c_str());
    loadSound(path, name);
  }
  logPrint("All assets loaded.\n");
  return true;
}

void AssetRegistry::loadBitmap(const std::string& path, std::string name) {
  bitmaps->emplace(std::move(name), new Bitmap(path));
}

void AssetRegistry::loadSound(const std::string& path, std::string name) {
  sounds->emplace(std::move(name), new Sound(path));
}

Bitmap* AssetRegistry::bitmap(std::string name) {
  return bitmaps->at(name);
}

Sound* AssetRegistry::sound(std::string name) {
  return sounds->at(name);
}

std::vector<std::string> AssetRegistry::missingRequiredAssets() const {
  std::vector<std::string> missing;
  for (const char* name : RequiredAssets::kBitmaps) {
    if (bitmaps->count(name) == 0) missing.push_back(std::string("bitmap \"") + name + "\"");
  }
  for (const char* name : RequiredAssets::kSounds) {
    if (sounds->count(name) == 0) missing.push_back(std::string("sound \"") + name + "\"");
  }
  return missing;
}

bool AssetRegistry::hasRequiredAssets() const {
  const std::vector<std::string> missing = missingRequiredAssets();
  if (missing.empty()) return true;
  std::string names;
  for (const std::string& name : missing) names += (names.empty() ? "" : ", ") + name;
  std::fprintf(stderr, "Tarnwick: %s lacks %s\n", ASSET_LIST_PATH, names.c_str());
  return false;
}
