#include "media/sound.h"

#include <cstdint>
#include <mutex>

#include "base/log.h"

namespace {

// The mixer's rate and channels, when its samples are the 16-bit little-endian ones that the
// game's own decoding gives: what the mixer's decoding would have kept.
bool mixerTakesDecodedSamples(int& rate, int& channels) {
  Uint16 format = 0;
  return Mix_QuerySpec(&rate, &format, &channels) != 0 && format == AUDIO_S16LSB;
}

// One file at a time: the mixer sets some of its formats up on their first use without a lock.
Sound::Decoded decodeWithMixerAlone(const std::string& path) {
  static std::mutex mixerLoads;
  const std::lock_guard<std::mutex> lock(mixerLoads);
  return Sound::decodeWithMixer(path);
}

}  // namespace

Sound::Decoded Sound::decode(const std::string& path) {
  int rate = 0;
  int channels = 0;
  if (mixerTakesDecodedSamples(rate, channels)) {
    Decoded decoded;
    decoded.chunk.reset(VorbisSamples::decode(path, rate, channels));
    if (decoded.chunk != nullptr) return decoded;
  }
  return decodeWithMixerAlone(path);
}

Sound::Decoded Sound::beginDecoding(const std::string& path) {
  int rate = 0;
  int channels = 0;
  if (mixerTakesDecodedSamples(rate, channels)) {
    Decoded decoded;
    decoded.undecoded = VorbisSamples::open(path, rate, channels);
    if (decoded.undecoded != nullptr) return decoded;
  }
  // A file the game's own decoding cannot open is the mixer's, as in decode.
  return decodeWithMixerAlone(path);
}

Sound::Decoded Sound::decodeWithMixer(const std::string& path) {
  SDL_RWops* stream = SDL_RWFromFile(path.c_str(), "rb");
  // Mix_LoadWAV_RW reports a null stream as a failure. The stream is closed here rather than by
  // the loader: SDL_mixer leaves a file of 4 to 11 bytes open when it gives up on it.
  Decoded decoded;
  decoded.chunk.reset(Mix_LoadWAV_RW(stream, 0));
  if (stream != nullptr) SDL_RWclose(stream);
  return decoded;
}

Sound::Sound(const std::string& path, Decoded decoded)
    : path_(path), undecoded_(std::move(decoded.undecoded)) {
  if (undecoded_ == nullptr) keep(decoded.chunk.release());
}

Sound::~Sound() {
  if (chunk_ != nullptr) Mix_FreeChunk(chunk_);
}

bool Sound::decodeMore(size_t bytes) {
  if (undecoded_ == nullptr) return false;
  if (undecoded_->decodeMore(bytes)) return true;
  finishDecoding();
  return false;
}

Mix_Chunk* Sound::chunk() {
  while (decodeMore(SIZE_MAX)) {
  }
  return chunk_;
}

void Sound::finishDecoding() {
  Mix_Chunk* decoded = undecoded_->takeChunk();
  undecoded_.reset();
  keep(decoded != nullptr ? decoded : decodeWithMixerAlone(path_).chunk.release());
}

void Sound::keep(Mix_Chunk* decoded) {
  chunk_ = decoded;
  if (chunk_ == nullptr) logPrint("Loading %s error!\n", path_.c_str());
}
