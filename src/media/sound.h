#pragma once

// One sample, loaded once at start-up by the asset registry and kept for the whole run.

#include <SDL_mixer.h>

#include <string>

class Sound {
 public:
  // Decodes the file; on failure logs it and keeps a null chunk, which plays on no channel.
  explicit Sound(const std::string& path);
  // Stops every channel playing the sample.
  ~Sound();
  Sound(const Sound&) = delete;
  Sound& operator=(const Sound&) = delete;

  Mix_Chunk* chunk = nullptr;
};
