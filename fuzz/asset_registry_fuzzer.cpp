// Feeds arbitrary bytes to the asset registry as its asset list file and has it load everything
// the list names, headless (SDL's dummy video and audio drivers), from a scratch directory that
// holds a small picture, a small sound, a file that is neither and a sound cut to a few bytes.
// Loading must end without a crash or a leak whatever the list says, and a list the registry
// takes leaves every name it lists registered, loaded or logged as broken.

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/screen_size.h"
#include "base/video_output.h"
#include "media/asset_list.h"
#include "media/asset_registry.h"

namespace fs = std::filesystem;

namespace {

void require(bool holds) {
  if (!holds) std::abort();
}

fs::path scratch;

void removeScratchDirectory() {
  std::error_code ignored;
  fs::remove_all(scratch, ignored);
}

void prepareScratchDirectory() {
  scratch = fs::temp_directory_path() / ("tarnwick-registry-fuzz-" + std::to_string(getpid()));
  const fs::path assets = scratch / AssetRegistry::ASSET_DIR;
  fs::create_directories(assets / "sub");
  for (const fs::directory_entry& file : fs::directory_iterator(TARNWICK_FUZZ_ASSETS)) {
    fs::copy_file(file.path(), assets / file.path().filename(),
                  fs::copy_options::overwrite_existing);
  }
  fs::copy_file(assets / "picture.png", assets / "sub" / "picture.png",
                fs::copy_options::overwrite_existing);
  require(chdir(scratch.c_str()) == 0);
  std::atexit(removeScratchDirectory);
}

// The window, renderer and mixer that loading pictures and sounds needs, as the game opens them.
void startSdl() {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_RENDER_DRIVER", "software", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  require(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO) == 0);
  require(IMG_Init(IMG_INIT_PNG) == IMG_INIT_PNG);
  Mix_OpenAudio(40960, AUDIO_S16LSB, 2, 4096);
  SDL_Window* window = SDL_CreateWindow("Game", 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, 0);
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, 0);
  require(renderer != nullptr);
  useVideoOutput(window, renderer);
}

// Paths are "assets/" + file name, so a ".." could reach any file on the machine.
bool staysInAssets(const AssetList::Entries& entries) {
  for (const auto& entry : entries) {
    if (entry.second.find("..") != std::string::npos) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  prepareScratchDirectory();
  // The registry logs every asset it loads; the fuzzer reports on standard error.
  require(std::freopen("/dev/null", "w", stdout) != nullptr);
  startSdl();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::istringstream input(text);
  AssetList list;
  std::string error;
  const bool wellFormed = list.read(input, AssetRegistry::ASSET_LIST_PATH, error);
  if (!staysInAssets(list.bitmaps()) || !staysInAssets(list.sounds())) return -1;
  {
    std::ofstream file(AssetRegistry::ASSET_LIST_PATH, std::ios::binary | std::ios::trunc);
    file << text;
  }
  AssetRegistry registry;
  require(registry.loadAll() == wellFormed);
  if (!wellFormed) return 0;
  // A name that is not registered throws, which ends the run as a crash.
  for (const auto& entry : list.bitmaps()) registry.bitmap(entry.first);
  for (const auto& entry : list.sounds()) registry.sound(entry.first);
  return 0;
}
