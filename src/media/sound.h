#pragma once

// One sample, loaded once at start-up by the asset registry and kept for the whole run.

#include <SDL_mixer.h>

#include <memory>
#include <string>

class Sound {
 public:
  // A sound file decoded into samples of the mixer's format; no chunk when it could not be.
  struct Decoded {
    std::unique_ptr<Mix_Chunk, void (*)(Mix_Chunk*)> chunk{nullptr, Mix_FreeChunk};
  };
  // Decodes an Ogg Vorbis file with libvorbisfile, side by side with other threads doing the
  // same; any other file, or one it cannot read whole, the mixer loads as decodeWithMixer does.
  // May run on any thread.
  static Decoded decode(const std::string& path);
  // The mixer decodes the file itself, under its audio lock, as the game once loaded every sound.
  static Decoded decodeWithMixer(const std::string& path);

  // Takes the decoded samples; when the file could not be decoded, logs it and keeps a null
  // chunk, which plays on no channel.
  Sound(const std::string& path, Decoded decoded);
  // Stops every channel playing the sample.
  ~Sound();
  Sound(const Sound&) = delete;
  Sound& operator=(const Sound&) = delete;

  Mix_Chunk* chunk = nullptr;
};
