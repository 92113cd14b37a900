#include "media/sound.h"

#include "app/app_context.h"

Sound::Sound(const std::string& path) {
  SDL_RWops* stream = SDL_RWFromFile(path.c_str(), "rb");
  // Mix_LoadWAV_RW closes the stream itself, and reports a null stream as a failure.
  chunk = Mix_LoadWAV_RW(stream, 1);
  if (chunk == nullptr) logPrint("Loading %s error!\n", path.c_str());
}

Sound::~Sound() {
  if (chunk != nullptr) Mix_FreeChunk(chunk);
}
