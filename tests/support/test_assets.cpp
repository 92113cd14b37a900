#include "support/test_assets.h"

#include <SDL_image.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <vector>

#include "media/required_assets.h"
#include "world/stage_layout.h"

namespace fs = std::filesystem;

namespace TestAssets {

namespace {

// Bump when the generated set changes, so that stale sets are not reused.
constexpr int kVersion = 2;
// Long enough that an effect still holds its channel when the game fades it out, so that a
// test can tell which sound a fade-out silences.
constexpr int kSoundMilliseconds = 3000;
constexpr int kSampleRate = 22050;

bool startsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

void writeSurface(SDL_Surface* surface, const fs::path& path) {
  if (IMG_SavePNG(surface, path.u8string().c_str()) != 0) {
    throw std::runtime_error("cannot write test picture " + path.string() + ": " + IMG_GetError());
  }
}

void writePicture(const std::string& name, const fs::path& path) {
  const SDL_Point size = sizeOf(name);
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormat(0, size.x, size.y, 32, SDL_PIXELFORMAT_ARGB8888);
  const SDL_Color c = colourOf(name);
  SDL_FillRect(surface, nullptr, SDL_MapRGBA(surface->format, c.r, c.g, c.b, c.a));
  if (name == "hud") {
    // The frame leaves the gauge's disc visible, as the real one does.
    SDL_Rect window{5, 5, 140, 140};
    SDL_FillRect(surface, &window, SDL_MapRGBA(surface->format, 0, 0, 0, 0));
  }
  writeSurface(surface, path);
  SDL_FreeSurface(surface);
}

void putLittleEndian(std::ofstream& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A mono 16-bit PCM WAV of silence.
void writeSound(const fs::path& path) {
  writeWav(path.string(), kSampleRate, 1,
           std::vector<Sint16>(kSampleRate * kSoundMilliseconds / 1000, 0));
}

void writeSet(const fs::path& root) {
  fs::create_directories(root / "assets" / "images");
  fs::create_directories(root / "assets" / "sound");
  std::ofstream list(root / "assets" / "assets_list.json");
  list << "{\n  \"bitmap\": {\n";
  const char* separator = "";
  for (const char* name : RequiredAssets::kBitmaps) {
    writePicture(name, root / "assets" / "images" / (std::string(name) + ".png"));
    list << separator << "    \"" << name << "\": \"images/" << name << ".png\"";
    separator = ",\n";
  }
  list << "\n  },\n  \"sound\": {\n";
  separator = "";
  for (const char* name : RequiredAssets::kSounds) {
    writeSound(root / "assets" / "sound" / (std::string(name) + ".wav"));
    list << separator << "    \"" << name << "\": \"sound/" << name << ".wav\"";
    separator = ",\n";
  }
  list << "\n  }\n}\n";
}

}  // namespace

void writeWav(const std::string& path, int sampleRate, int channels,
              const std::vector<Sint16>& samples) {
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::ofstream out(path, std::ios::binary);
  out.write("RIFF", 4);
  putLittleEndian(out, 36 + dataBytes, 4);
  out.write("WAVEfmt ", 8);
  putLittleEndian(out, 16, 4);
  putLittleEndian(out, 1, 2);  // PCM
  putLittleEndian(out, channels, 2);
  putLittleEndian(out, sampleRate, 4);
  putLittleEndian(out, sampleRate * channels * 2, 4);  // bytes per second
  putLittleEndian(out, channels * 2, 2);               // bytes per sample frame
  putLittleEndian(out, 16, 2);
  out.write("data", 4);
  putLittleEndian(out, dataBytes, 4);
  for (const Sint16 sample : samples) putLittleEndian(out, static_cast<Uint16>(sample), 2);
}

SDL_Point sizeOf(const std::string& name) {
  if (startsWith(name, "serval_cat_")) return {512, 512};
  if (startsWith(name, "stage")) {
    const int stage = name.back() - '1';
    return {StageLayout::kPictureSizes[stage].width, StageLayout::kPictureSizes[stage].height};
  }
  if (name == "enemy") return {128, 128};
  if (name == "enemy_boss") return {600, 600};
  if (name == "water_particle") return {16, 16};
  if (name == "hud" || name == "hud_fill") return {150, 150};
  if (name == "hud_wl" || name == "hud_wh") return {120, 40};
  return {800, 600};
}

SDL_Color colourOf(const std::string& name) {
  if (name == "hud_fill") return {0, 200, 0, 255};
  if (name == "water_particle") return {0, 0, 255, 255};
  if (startsWith(name, "stage")) return {120, 80, 40, 255};
  // Every other picture gets a colour of its own, derived from its name.
  const size_t hash = std::hash<std::string>()(name);
  return {static_cast<Uint8>(hash), static_cast<Uint8>(hash >> 8), static_cast<Uint8>(hash >> 16),
          255};
}

std::string directory() {
  const fs::path root =
      fs::temp_directory_path() /
      ("tarnwick-test-assets-" + std::to_string(getuid()) + "-v" + std::to_string(kVersion));
  if (fs::exists(root / "assets" / "assets_list.json")) return root.string();
  // Tests may run in parallel: build the set aside and move it into place in one step.
  const fs::path scratch = root.string() + ".tmp" + std::to_string(getpid());
  fs::remove_all(scratch);
  writeSet(scratch);
  std::error_code alreadyThere;
  fs::rename(scratch, root, alreadyThere);
  if (alreadyThere) fs::remove_all(scratch);
  return root.string();
}

}  // namespace TestAssets
