#include "media/sound.h"

#include <mutex>

#include "base/log.h"
#include "media/vorbis_samples.h"

Sound::Decoded Sound::decode(const std::string& path) {
  int rate = 0;
  Uint16 format = 0;
  int channels = 0;
  // Samples already in the mixer's format are what the mixer's own decoding would have kept.
  if (Mix_QuerySpec(&rate, &format, &channels) != 0 && format == AUDIO_S16LSB) {
    Decoded decoded;
    decoded.chunk.reset(VorbisSamples::decode(path, rate, channels));
    if (decoded.chunk != nullptr) return decoded;
  }
  // One file at a time: the mixer sets some of its formats up on their first use without a lock.
  static std::mutex mixerLoads;
  const std::lock_guard<std::mutex> lock(mixerLoads);
  return decodeWithMixer(path);
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

Sound::Sound(const std::string& path, Decoded decoded) : chunk(decoded.chunk.release()) {
  if (chunk == nullptr) logPrint("Loading %s error!\n", path.c_str());
}

Sound::~Sound() {
  if (chunk != nullptr) Mix_FreeChunk(chunk);
}
