#pragma once

// An Ogg Vorbis sound file decoded by libvorbisfile, the decoder SDL_mixer itself uses, on any
// thread: SDL_mixer decodes Ogg Vorbis under its audio lock, one file at a time whatever the
// thread, so the game decodes its sounds itself and hands the mixer the finished samples. A file
// may be decoded whole at once, or a piece at a time in time the frames leave over.

#include <SDL_mixer.h>

#include <memory>
#include <string>

struct OggVorbis_File;

class VorbisSamples {
 public:
  // The file's 16-bit signed little-endian samples as a chunk that owns them (Mix_FreeChunk
  // frees both), when the file is an Ogg Vorbis stream at the mixer's rate and with its channels;
  // null otherwise (another format, a damaged stream, a read error midway, samples the mixer
  // would convert), and the mixer should load the file itself.
  static Mix_Chunk* decode(const std::string& path, int mixerRate, int mixerChannels);

  // The same file with only its headers read, for decodeMore to decode; null when decode would
  // give null for what the headers say.
  static std::unique_ptr<VorbisSamples> open(const std::string& path, int mixerRate,
                                             int mixerChannels);
  VorbisSamples(const VorbisSamples&) = delete;
  VorbisSamples& operator=(const VorbisSamples&) = delete;

  // Decodes about `bytes` more of the samples; false once there is nothing more to decode, the
  // stream being finished or found damaged.
  bool decodeMore(size_t bytes);
  // Once decodeMore has returned false: the samples as decode gives them (null for a damaged
  // stream). Taken once.
  Mix_Chunk* takeChunk();

 private:
  enum class State { kDecoding, kFinished, kDamaged };

  VorbisSamples() = default;
  static void close(OggVorbis_File* file);

  std::unique_ptr<OggVorbis_File, void (*)(OggVorbis_File*)> file_{nullptr, close};
  std::unique_ptr<Uint8, void (*)(void*)> samples_{nullptr, SDL_free};
  size_t bytes_ = 0;    // all the samples' bytes
  size_t decoded_ = 0;  // how many of them are decoded
  State state_ = State::kDecoding;
};
