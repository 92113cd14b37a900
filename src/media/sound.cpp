#include "media/sound.h"

#include "base/log.h"

Sound::Decoded Sound::decode(const std::string& path) {
  SDL_RWops* stream = SDL_RWFromFile(path.c_str(), "rb");
  // Mix_LoadWAV_RW reports a null stream as a failure. The stream is closed here rather than by
  // the loader: SDL_mixer leaves a file of 4 to 11 bytes open when it gives up on it.
  Decoded decoded;
  decoded.chunk.reset(Mix_LoadWAV_RW(stream, 0));
  if (stream != nullptr) SDL_RWclose(stream);
  return decoded;
}

Sound::Sound(const std::string& path, Decoded decoded) : chunk(decoded.chunk.release()) {
  if (chunk == nullptr) logPrint("Loading %s error!\n", path.c_str());
}

Sound::~Sound() {
  if (chunk != nullptr) Mix_FreeChunk(chunk);
}
