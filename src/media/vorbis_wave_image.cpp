#include "media/vorbis_wave_image.h"

#include <vorbis/vorbisfile.h>

#include <climits>
#include <cstring>
#include <utility>

namespace {

constexpr int kBytesPerSample = 2;  // 16-bit
constexpr size_t kWaveHeaderBytes = 44;
constexpr int kLittleEndian = 0;
constexpr int kSigned = 1;

void putLE(Uint8*& out, Uint32 value, int bytes) {
  for (int i = 0; i < bytes; ++i) *out++ = static_cast<Uint8>(value >> (8 * i));
}

void putTag(Uint8*& out, const char* tag) {
  std::memcpy(out, tag, 4);
  out += 4;
}

// The canonical 44-byte header of a PCM WAVE file.
void writeWaveHeader(Uint8* out, long rate, int channels, Uint32 sampleBytes) {
  const Uint32 frameBytes = static_cast<Uint32>(channels * kBytesPerSample);
  putTag(out, "RIFF");
  putLE(out, static_cast<Uint32>(kWaveHeaderBytes) - 8 + sampleBytes, 4);
  putTag(out, "WAVE");
  putTag(out, "fmt ");
  putLE(out, 16, 4);  // the size of the format block
  putLE(out, 1, 2);   // integer PCM
  putLE(out, static_cast<Uint32>(channels), 2);
  putLE(out, static_cast<Uint32>(rate), 4);
  putLE(out, static_cast<Uint32>(rate) * frameBytes, 4);
  putLE(out, frameBytes, 2);
  putLE(out, 8 * kBytesPerSample, 2);
  putTag(out, "data");
  putLE(out, sampleBytes, 4);
}

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

}  // namespace

VorbisWaveImage::VorbisWaveImage(const std::string& path, int mixerRate, int mixerChannels) {
  OggVorbis_File file;
  if (ov_fopen(path.c_str(), &file) != 0) return;
  const vorbis_info* info = ov_info(&file, -1);
  const ogg_int64_t frames = ov_pcm_total(&file, -1);
  // One logical stream whose samples need no conversion; chained streams may change format.
  const bool decodable = ov_streams(&file) == 1 && info != nullptr && info->rate == mixerRate &&
                         info->channels == mixerChannels && frames >= 0;
  const ogg_int64_t sampleBytes = frames * mixerChannels * kBytesPerSample;
  if (decodable && sampleBytes <= static_cast<ogg_int64_t>(INT_MAX - kWaveHeaderBytes)) {
    const size_t size = kWaveHeaderBytes + static_cast<size_t>(sampleBytes);
    std::unique_ptr<Uint8, Freeing> bytes(static_cast<Uint8*>(SDL_malloc(size)));
    if (bytes != nullptr &&
        readAllSamples(file, bytes.get() + kWaveHeaderBytes, static_cast<size_t>(sampleBytes))) {
      writeWaveHeader(bytes.get(), info->rate, info->channels, static_cast<Uint32>(sampleBytes));
      bytes_ = std::move(bytes);
      size_ = size;
    }
  }
  ov_clear(&file);
}
