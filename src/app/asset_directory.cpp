#include "app/asset_directory.h"

#include <SDL.h>

#include <filesystem>
#include <system_error>

#include "media/asset_registry.h"

namespace fs = std::filesystem;

namespace {

bool holdsAssetList(const fs::path& directory) {
  std::error_code ignored;
  return fs::is_regular_file(directory / AssetRegistry::ASSET_LIST_PATH, ignored);
}

// `relative` to `base`, without "..", "." or a closing separator, as a player would write it,
// in UTF-8.
std::string directoryFrom(const fs::path& base, const char* relative) {
  fs::path directory = (base / relative).lexically_normal();
  if (!directory.has_filename() && directory.has_relative_path())
    directory = directory.parent_path();
  return directory.u8string();
}

std::string currentDirectory() {
  std::error_code ignored;
  return fs::current_path(ignored).u8string();
}

}  // namespace

AssetDirectory::AssetDirectory(const std::string& programDirectory) {
  places_.push_back({"the working directory", currentDirectory()});
  if (programDirectory.empty()) return;
  // Both recorded by the build, relative to the program's directory, so that a moved build or
  // installed tree still finds its data.
  const fs::path program = fs::u8path(programDirectory);
  places_.push_back({"the source tree the game was built from",
                     directoryFrom(program, TARNWICK_SOURCE_FROM_PROGRAM)});
  places_.push_back(
      {"the game's installed data directory", directoryFrom(program, TARNWICK_DATA_FROM_PROGRAM)});
}

AssetDirectory AssetDirectory::ofThisProgram() {
  char* base = SDL_GetBasePath();
  const std::string programDirectory = base != nullptr ? base : "";
  SDL_free(base);
  return AssetDirectory(programDirectory);
}

bool AssetDirectory::enter() const {
  for (const Place& place : places_) {
    const fs::path directory = fs::u8path(place.directory);
    if (!holdsAssetList(directory)) continue;
    std::error_code failed;
    fs::current_path(directory, failed);
    if (!failed) return true;
  }
  return false;
}

std::string AssetDirectory::whereLooked() const {
  std::string text = std::string("Tarnwick: no ") + AssetRegistry::ASSET_LIST_PATH + " in ";
  for (size_t i = 0; i < places_.size(); ++i) {
    if (i > 0) text += i + 1 == places_.size() ? " or " : ", ";
    text += places_[i].description + " (" + places_[i].directory + ")";
  }
  return text +
         ".\nTarnwick: start the game from the directory that holds assets/ (the repository "
         "root, as scripts/run.sh does), or install it (its Debian package from "
         "scripts/package.sh, or cmake --install) and start the installed tarnwick.\n";
}
