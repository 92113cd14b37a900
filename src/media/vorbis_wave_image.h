#pragma once

// An Ogg Vorbis sound file decoded by libvorbisfile, on any thread, into the bytes of a WAVE
// file in memory: 16-bit signed little-endian samples at the file's own rate and channels.
// SDL_mixer decodes Ogg Vorbis under its audio lock, one file at a time whatever the thread;
// the WAVE image lets the sounds decode side by side and leaves the mixer only a copy to make.

#include <SDL.h>

#include <cstddef>
#include <memory>
#include <string>

class VorbisWaveImage {
 public:
  // Decodes the whole file when it is an Ogg Vorbis stream at the mixer's rate and with its
  // channels; otherwise (another format, a damaged stream, a read error midway, samples the
  // mixer would convert) the image stays empty and the mixer should load the file itself.
  VorbisWaveImage(const std::string& path, int mixerRate, int mixerChannels);

  bool empty() const { return bytes_ == nullptr; }
  // A read-only stream over the image, valid while the image lives. Images are under 2 GiB.
  SDL_RWops* open() const { return SDL_RWFromConstMem(bytes_.get(), static_cast<int>(size_)); }

 private:
  struct Freeing {
    void operator()(void* block) const { SDL_free(block); }
  };
  // SDL's allocator, so that a long sound's samples get huge pages while the loading asks for them.
  std::unique_ptr<Uint8, Freeing> bytes_;
  size_t size_ = 0;
};
