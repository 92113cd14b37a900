#include "media/asset_registry.h"

#include <SDL_image.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>

#include "base/log.h"
#include "graphics/bitmap.h"
#include "media/asset_list.h"
#include "media/decoded_files.h"
#include "media/required_assets.h"
#include "media/sound.h"
#include "physics/usable_threads.h"

namespace {

// Every image format SDL_image may be asked for. Each is set up on its first use, which is not
// safe on two threads at once, so all are set up before decoding starts.
constexpr int kImageFormats =
    IMG_INIT_JPG | IMG_INIT_PNG | IMG_INIT_TIF | IMG_INIT_WEBP | IMG_INIT_JXL | IMG_INIT_AVIF;

// Pictures share every core but the main thread's, which makes their textures. Sounds get one
// thread from the start, since a music loop takes longer to decode than any picture; the main
// thread decodes the rest once the pictures are registered. With a single usable thread the
// main thread decodes everything, one file after another.
unsigned pictureWorkers() {
  return usableThreads() - 1;
}
unsigned soundWorkers() {
  return std::min(1u, usableThreads() - 1);
}

std::vector<std::string> pathsOf(const AssetList::Entries& entries) {
  std::vector<std::string> paths;
  for (const auto& entry : entries) paths.push_back(AssetRegistry::ASSET_DIR + entry.second);
  return paths;
}

template <typename Asset>
using LoadOne = void (AssetRegistry::*)(const std::string& path, std::string name,
                                        typename Asset::Decoded decoded);

// Logs and loads the next entry of one table, in list order, as soon as its file is decoded;
// false when the table is done.
template <typename Asset>
bool loadNextOf(AssetRegistry& registry, LoadOne<Asset> load, const AssetList::Entries& entries,
                DecodedFiles<Asset>& files, size_t& next) {
  if (next >= files.size()) return false;
  const size_t i = next++;
  const std::string& path = files.path(i);
  logPrint("Loading asset %s(%s)\n", entries[i].first.c_str(), path.c_str());
  (registry.*load)(path, entries[i].first, files.take(i));
  return true;
}

}  // namespace

AssetRegistry* AssetRegistry::instance() {
  // Never destroyed: its pictures and sounds are in use until the process ends, and freeing
  // them after SDL has shut down would reach a renderer and a mixer that are gone.
  static AssetRegistry* registry = new AssetRegistry();
  return registry;
}

AssetRegistry::AssetRegistry() {
  logPrint("Map creating\n");
  // The number only identifies the map in the log.
  logPrint("Map created %d.\n", static_cast<int>(reinterpret_cast<intptr_t>(&bitmaps)));
}

AssetRegistry::~AssetRegistry() = default;

// The files of the asset list being decoded, and how far their registering has come.
struct AssetRegistry::Loading {
  Loading(const AssetList& list, Decoding decoding)
      : list(list),
        // Both tables decode at once; the pictures are registered first, as they are listed.
        // The main thread decodes pictures, then sounds, while it waits for one.
        pictureFiles(
            pathsOf(list.bitmaps()),
            decoding == Decoding::kOneAfterAnother ? &Bitmap::decodeWithSdlImage : &Bitmap::decode,
            decoding == Decoding::kOneAfterAnother ? 0 : pictureWorkers()),
        soundFiles(pathsOf(list.sounds()), soundDecoder(decoding),
                   decoding == Decoding::kParallel ? soundWorkers() : 0) {}

  static DecodedFiles<Sound>::Decode soundDecoder(Decoding decoding) {
    switch (decoding) {
      case Decoding::kOneAfterAnother:
        return &Sound::decodeWithMixer;
      case Decoding::kSoundsInSpareTime:
        return &Sound::beginDecoding;
      case Decoding::kParallel:
        break;
    }
    return &Sound::decode;
  }

  AssetList list;
  DecodedFiles<Bitmap> pictureFiles;
  DecodedFiles<Sound> soundFiles;
  size_t nextPicture = 0;
  size_t nextSound = 0;
};

bool AssetRegistry::loadAll(Decoding decoding) {
  if (!beginLoading(decoding)) return false;
  while (loadNext()) {
  }
  return true;
}

bool AssetRegistry::beginLoading(Decoding decoding) {
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
  if (decoding != Decoding::kOneAfterAnother) IMG_Init(kImageFormats);
  loading_ = std::make_unique<Loading>(list, decoding);
  return true;
}

bool AssetRegistry::loadNext() {
  if (loading_ == nullptr) return false;
  Loading& l = *loading_;
  if (loadNextOf(*this, &AssetRegistry::loadBitmap, l.list.bitmaps(), l.pictureFiles,
                 l.nextPicture) ||
      loadNextOf(*this, &AssetRegistry::loadSound, l.list.sounds(), l.soundFiles, l.nextSound)) {
    return true;
  }
  loading_.reset();
  queueUndecodedSounds();
  logPrint("All assets loaded.\n");
  return false;
}

void AssetRegistry::queueUndecodedSounds() {
  undecodedSounds_.clear();
  // The names the game asks for are listed in the order it first plays them; then the rest.
  // Sounds decoded already drop out at their first turn.
  for (const char* name : RequiredAssets::kSounds) {
    const auto found = sounds.find(name);
    if (found != sounds.end()) undecodedSounds_.push_back(found->second.get());
  }
  for (const auto& entry : sounds) {
    if (std::find(undecodedSounds_.begin(), undecodedSounds_.end(), entry.second.get()) ==
        undecodedSounds_.end()) {
      undecodedSounds_.push_back(entry.second.get());
    }
  }
}

bool AssetRegistry::decodeInSpareTime(double seconds) {
  // A tenth of a second of sound, about a millisecond's decoding on a phone: the time given is
  // overrun by little.
  constexpr size_t kPieceBytes = 16 * 1024;
  const Uint64 start = SDL_GetPerformanceCounter();
  const double ticks = seconds * static_cast<double>(SDL_GetPerformanceFrequency());
  while (!undecodedSounds_.empty()) {
    if (static_cast<double>(SDL_GetPerformanceCounter() - start) >= ticks) return true;
    if (!undecodedSounds_.front()->decodeMore(kPieceBytes)) {
      undecodedSounds_.erase(undecodedSounds_.begin());
    }
  }
  return false;
}

void AssetRegistry::loadBitmap(const std::string& path, std::string name, Bitmap::Decoded decoded) {
  bitmaps.emplace(std::move(name), std::make_unique<Bitmap>(path, std::move(decoded)));
}

void AssetRegistry::loadSound(const std::string& path, std::string name, Sound::Decoded decoded) {
  sounds.emplace(std::move(name), std::make_unique<Sound>(path, std::move(decoded)));
}

Bitmap* AssetRegistry::bitmap(std::string name) {
  return bitmaps.at(name).get();
}

Sound* AssetRegistry::sound(std::string name) {
  return sounds.at(name).get();
}

std::vector<std::string> AssetRegistry::missingRequiredAssets() const {
  std::vector<std::string> missing;
  for (const char* name : RequiredAssets::kBitmaps) {
    if (bitmaps.count(name) == 0) missing.push_back(std::string("bitmap \"") + name + "\"");
  }
  for (const char* name : RequiredAssets::kSounds) {
    if (sounds.count(name) == 0) missing.push_back(std::string("sound \"") + name + "\"");
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
