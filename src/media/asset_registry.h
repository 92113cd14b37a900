#pragma once

// The one place that turns asset names into loaded pictures and sounds. Everything listed in
// the asset list is loaded once at start-up and kept until the process ends.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "graphics/bitmap.h"
#include "media/sound.h"

class AssetRegistry {
 public:
  static constexpr const char* ASSET_LIST_PATH = "assets/assets_list.json";
  static constexpr const char* ASSET_DIR = "assets/";

  // The process-wide registry, made at the first call.
  static AssetRegistry* instance();

  AssetRegistry();
  // The game's own registry lives until the process ends; one made for a while (a tool, a test)
  // frees what it loaded.
  ~AssetRegistry();
  AssetRegistry(const AssetRegistry&) = delete;
  AssetRegistry& operator=(const AssetRegistry&) = delete;

  // How loadAll decodes the files: on worker threads, the pictures the game ships through the
  // quicker PNG decoder, while the main thread makes the textures (the game's way), or as the
  // game once did: one after another on the calling thread, every picture through SDL_image
  // (kept to measure against). Or, for a host with no thread to spare but time left over after
  // its frames (the browser): as the game's way, except that the samples of the Ogg Vorbis
  // sounds are left for decodeInSpareTime, or at the latest for a sound's first play.
  enum class Decoding { kParallel, kOneAfterAnother, kSoundsInSpareTime };

  // Loads everything the asset list names, logging each in list order. A picture or sound that
  // fails to load is logged and registered all the same; an unusable list is reported on
  // standard error, loads nothing and returns false.
  bool loadAll(Decoding decoding = Decoding::kParallel);
  // The same, one file at a time, for a host that takes its turn in between (the browser shows
  // how far loading has come): beginLoading reads the list (false when it is unusable), then
  // each loadNext registers one more file, false once every file is.
  bool beginLoading(Decoding decoding = Decoding::kParallel);
  bool loadNext();
  // Decodes the samples loading left undecoded, for about `seconds`, in the order the game
  // first plays the sounds; false once none are left.
  bool decodeInSpareTime(double seconds);
  // Makes the picture or sound of a decoded file and registers it under `name`; a name already
  // registered keeps its first entry.
  void loadBitmap(const std::string& path, std::string name, Bitmap::Decoded decoded);
  void loadSound(const std::string& path, std::string name, Sound::Decoded decoded);

  // A name that is not registered throws std::out_of_range.
  Bitmap* bitmap(std::string name);
  Sound* sound(std::string name);

  // True when every name the game asks for is registered; otherwise names the missing ones on
  // standard error.
  bool hasRequiredAssets() const;
  std::vector<std::string> missingRequiredAssets() const;

 private:
  struct Loading;

  // Lines the sounds up for decodeInSpareTime.
  void queueUndecodedSounds();

  std::unique_ptr<Loading> loading_;
  std::vector<Sound*> undecodedSounds_;
  std::map<std::string, std::unique_ptr<Bitmap>> bitmaps;
  std::map<std::string, std::unique_ptr<Sound>> sounds;
};
