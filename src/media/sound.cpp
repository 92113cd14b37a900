#include "media/sound.h"

#include <mutex>

#include "base/log.h"
#include "media/vorbis_wave_image.h"

namespace {

// The mixer's chunk of a stream, which may be null. The stream is closed here rather than by
// the loader: SDL_mixer leaves a file of 4 to 11 bytes open when it gives up on it.
Sound::Decoded loadChunk(SDL_RWops* stream) {
  Sound::Decoded decoded;
  decoded.chunk.reset(Mix_LoadWAV_RW(stream, 0));
  if (stream != nullptr) SDL_RWclose(stream);
  return decoded;
}

}  // namespace

Sound::Decoded Sound::decode(const std::string& path) {
  int rate = 0;
  Uint16 format = 0;
  int channels = 0;
  // The mixer keeps samples of its own format as they are, so the chunk holds exactly what
  // libvorbisfile decoded, as it would had the mixer decoded the file.
  if (Mix_QuerySpec(&rate, &format, &channels) != 0 && format == AUDIO_S16LSB) {
    const VorbisWaveImage image(path, rate, channels);
    if (!image.empty()) return loadChunk(image.open());
  }
  // One file at a time: the mixer sets some of its formats up on their first use without a lock.
  static std::mutex mixerLoads;
  const std::lock_guard<std::mutex> lock(mixerLoads);
  return decodeWithMixer(path);
}

Sound::Decoded Sound::decodeWithMixer(const std::string& path) {
  return loadChunk(SDL_RWFromFile(path.c_str(), "rb"));
}

Sound::Sound(const std::string& path, Decoded decoded) : chunk(decoded.chunk.release()) {
  if (chunk == nullptr) logPrint("Loading %s error!\n", path.c_str());
}

Sound::~Sound() {
  if (chunk != nullptr) Mix_FreeChunk(chunk);
}
