#pragma once

// One sample, loaded once at start-up by the asset registry and kept for the whole run.

#include <SDL_mixer.h>

#include <memory>
#include <string>

#include "media/vorbis_samples.h"

class Sound {
 public:
  // A sound file decoded into samples of the mixer's format; no chunk when it could not be. Or,
  // from beginDecoding, a file whose samples are still to be decoded.
  struct Decoded {
    std::unique_ptr<Mix_Chunk, void (*)(Mix_Chunk*)> chunk{nullptr, Mix_FreeChunk};
    std::unique_ptr<VorbisSamples> undecoded;
  };
  // Decodes an Ogg Vorbis file with libvorbisfile, side by side with other threads doing the
  // same; any other file, or one it cannot read whole, the mixer loads as decodeWithMixer does.
  // May run on any thread.
  static Decoded decode(const std::string& path);
  // The same, but of an Ogg Vorbis file that needs no conversion only the headers are read: its
  // samples are decoded by decodeMore, or at the latest when the sound is first played.
  static Decoded beginDecoding(const std::string& path);
  // The mixer decodes the file itself, under its audio lock, as the game once loaded every sound.
  static Decoded decodeWithMixer(const std::string& path);

  // Takes the decoded samples; when the file could not be decoded, logs it and keeps a null
  // chunk, which plays on no channel. Samples still to be decoded are logged so once they are.
  Sound(const std::string& path, Decoded decoded);
  // Stops every channel playing the sample.
  ~Sound();
  Sound(const Sound&) = delete;
  Sound& operator=(const Sound&) = delete;

  // Decodes about `bytes` more of the samples still to be decoded; false once none are left.
  bool decodeMore(size_t bytes);
  // The samples, once what is left of them is decoded; null when the file could not be.
  Mix_Chunk* chunk();

 private:
  // Takes the samples of a stream decoded to its end, or has the mixer load a damaged one.
  void finishDecoding();
  void keep(Mix_Chunk* decoded);

  std::string path_;
  std::unique_ptr<VorbisSamples> undecoded_;
  Mix_Chunk* chunk_ = nullptr;
};
