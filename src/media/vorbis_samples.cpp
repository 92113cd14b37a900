#include "media/vorbis_samples.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

constexpr int kBytesPerSample = 2;  // 16-bit
constexpr int kLittleEndian = 0;
constexpr int kSigned = 1;

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

// How many bytes of samples the open file holds, when they need no conversion: one logical
// stream (chained streams may change format) at the mixer's rate and with its channels, of a
// length a chunk can hold (32-bit); -1 otherwise.
ogg_int64_t samplesBytes(OggVorbis_File& file, int mixerRate, int mixerChannels) {
  const vorbis_info* info = ov_info(&file, -1);
  const ogg_int64_t frames = ov_pcm_total(&file, -1);
  if (ov_streams(&file) != 1 || info == nullptr || info->rate != mixerRate ||
      info->channels != mixerChannels || frames < 0) {
    return -1;
  }
  const ogg_int64_t bytes = frames * mixerChannels * kBytesPerSample;
  return bytes > static_cast<ogg_int64_t>(UINT32_MAX) ? -1 : bytes;
}

}  // namespace

Mix_Chunk* VorbisSamples::decode(const std::string& path, int mixerRate, int mixerChannels) {
  const std::unique_ptr<VorbisSamples> samples = open(path, mixerRate, mixerChannels);
  if (samples == nullptr) return nullptr;
  while (samples->decodeMore(SIZE_MAX)) {
  }
  return samples->takeChunk();
}

std::unique_ptr<VorbisSamples> VorbisSamples::open(const std::string& path, int mixerRate,
                                                   int mixerChannels) {
  SDL_RWops* stream = SDL_RWFromFile(path.c_str(), "rb");
  if (stream == nullptr) return nullptr;
  // Opened in place, where it stays: libvorbisfile's state points into itself.
  auto file = std::make_unique<OggVorbis_File>();
  const ov_callbacks callbacks{readStream, seekStream, closeStream, tellStream};
  if (ov_open_callbacks(stream, file.get(), nullptr, 0, callbacks) != 0) {
    SDL_RWclose(stream);  // on failure the stream is still the caller's to close
    return nullptr;
  }
  std::unique_ptr<VorbisSamples> samples(new VorbisSamples());
  samples->file_.reset(file.release());
  const ogg_int64_t bytes = samplesBytes(*samples->file_, mixerRate, mixerChannels);
  if (bytes < 0) return nullptr;
  // In SDL's allocator, which the mixer frees the samples with.
  samples->samples_.reset(static_cast<Uint8*>(SDL_malloc(bytes > 0 ? bytes : 1)));
  if (samples->samples_ == nullptr) return nullptr;
  samples->bytes_ = static_cast<size_t>(bytes);
  return samples;
}

void VorbisSamples::close(OggVorbis_File* file) {
  ov_clear(file);
  delete file;
}

bool VorbisSamples::decodeMore(size_t bytes) {
  if (state_ != State::kDecoding) return false;
  const size_t until = decoded_ + std::min(bytes, bytes_ - decoded_);
  int section = 0;
  while (decoded_ < until) {
    const int wanted = static_cast<int>(std::min<size_t>(until - decoded_, INT_MAX));
    const long read = ov_read(file_.get(), reinterpret_cast<char*>(samples_.get() + decoded_),
                              wanted, kLittleEndian, kBytesPerSample, kSigned, &section);
    if (read <= 0) {
      state_ = State::kDamaged;
      return false;
    }
    decoded_ += static_cast<size_t>(read);
  }
  if (decoded_ < bytes_) return true;
  // The stream must end exactly where its headers said it would.
  char extra = 0;
  const bool ended =
      ov_read(file_.get(), &extra, 1, kLittleEndian, kBytesPerSample, kSigned, &section) == 0;
  state_ = ended ? State::kFinished : State::kDamaged;
  return false;
}

Mix_Chunk* VorbisSamples::takeChunk() {
  if (state_ != State::kFinished || samples_ == nullptr) return nullptr;
  Mix_Chunk* chunk = Mix_QuickLoad_RAW(samples_.get(), static_cast<Uint32>(bytes_));
  if (chunk == nullptr) return nullptr;
  chunk->allocated = 1;  // the chunk owns its samples from here on
  samples_.release();
  return chunk;
}
