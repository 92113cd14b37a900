#include "media/vorbis_samples.h"

#include <vorbis/vorbisfile.h>

#include <climits>
#include <memory>

namespace {

constexpr int kBytesPerSample = 2;  // 16-bit
constexpr int kLittleEndian = 0;
constexpr int kSigned = 1;

// Reads every sample of the stream into `out`, which holds exactly `bytes`; false on any error
// or when the stream's length differs from what it declared.
bool readAllSamples(OggVorbis_File& file, Uint8* out, size_t bytes) {
  size_t done = 0;
  int section = 0;
  while (done < bytes) {
    const int wanted = static_cast<int>(bytes - done);
    const long read = ov_read(&file, reinterpret_cast<char*>(out + done), wanted, kLittleEndian,
                              kBytesPerSample, kSigned, &section);
    if (read <= 0) return false;
    done += static_cast<size_t>(read);
  }
  char extra = 0;
  return ov_read(&file, &extra, 1, kLittleEndian, kBytesPerSample, kSigned, &section) == 0;
}

// The samples in SDL's allocator, which the mixer frees them with.
Mix_Chunk* decodeOpenFile(OggVorbis_File& file, int mixerRate, int mixerChannels) {
  const vorbis_info* info = ov_info(&file, -1);
  const ogg_int64_t frames = ov_pcm_total(&file, -1);
  // One logical stream whose samples need no conversion; chained streams may change format.
  if (ov_streams(&file) != 1 || info == nullptr || info->rate != mixerRate ||
      info->channels != mixerChannels || frames < 0) {
    return nullptr;
  }
  const ogg_int64_t bytes = frames * mixerChannels * kBytesPerSample;
  if (bytes > static_cast<ogg_int64_t>(UINT32_MAX)) return nullptr;  // a chunk's length is 32-bit
  std::unique_ptr<Uint8, void (*)(void*)> samples(
      static_cast<Uint8*>(SDL_malloc(bytes > 0 ? static_cast<size_t>(bytes) : 1)), SDL_free);
  if (samples == nullptr || !readAllSamples(file, samples.get(), static_cast<size_t>(bytes))) {
    return nullptr;
  }
  Mix_Chunk* chunk = Mix_QuickLoad_RAW(samples.get(), static_cast<Uint32>(bytes));
  if (chunk == nullptr) return nullptr;
  chunk->allocated = 1;  // the chunk owns its samples from here on
  samples.release();
  return chunk;
}

// libvorbisfile reads through SDL's streams, which open UTF-8 paths on every system (its own
// ov_fopen does not on Windows).
size_t readStream(void* into, size_t size, size_t count, void* stream) {
  return SDL_RWread(static_cast<SDL_RWops*>(stream), into, size, count);
}

int seekStream(void* stream, ogg_int64_t offset, int whence) {
  return SDL_RWseek(static_cast<SDL_RWops*>(stream), offset, whence) < 0 ? -1 : 0;
}

int closeStream(void* stream) {
  return SDL_RWclose(static_cast<SDL_RWops*>(stream));
}

long tellStream(void* stream) {
  return static_cast<long>(SDL_RWtell(static_cast<SDL_RWops*>(stream)));
}

}  // namespace

Mix_Chunk* VorbisSamples::decode(const std::string& path, int mixerRate, int mixerChannels) {
  SDL_RWops* stream = SDL_RWFromFile(path.c_str(), "rb");
  if (stream == nullptr) return nullptr;
  OggVorbis_File file;
  // On failure the stream is still the caller's to close.
  const ov_callbacks callbacks{readStream, seekStream, closeStream, tellStream};
  if (ov_open_callbacks(stream, &file, nullptr, 0, callbacks) != 0) {
    SDL_RWclose(stream);
    return nullptr;
  }
  Mix_Chunk* chunk = decodeOpenFile(file, mixerRate, mixerChannels);
  ov_clear(&file);
  return chunk;
}
