#pragma once

// An Ogg Vorbis sound file decoded by libvorbisfile, the decoder SDL_mixer itself uses, on any
// thread: SDL_mixer decodes Ogg Vorbis under its audio lock, one file at a time whatever the
// thread, so the game decodes its sounds itself and hands the mixer the finished samples.

#include <SDL_mixer.h>

#include <string>

class VorbisSamples {
 public:
  // The file's 16-bit signed little-endian samples as a chunk that owns them (Mix_FreeChunk
  // frees both), when the file is an Ogg Vorbis stream at the mixer's rate and with its channels;
  // null otherwise (another format, a damaged stream, a read error midway, samples the mixer
  // would convert), and the mixer should load the file itself.
  static Mix_Chunk* decode(const std::string& path, int mixerRate, int mixerChannels);
};
