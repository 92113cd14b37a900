#include "media/sound_playback.h"

#include <SDL_mixer.h>

#include "media/sound.h"

namespace {

std::function<void(const SoundRequest&)> soundObserver;

void report(const SoundRequest& request) {
  if (soundObserver) soundObserver(request);
}

}  // namespace

void setSoundObserver(std::function<void(const SoundRequest&)> observer) {
  soundObserver = std::move(observer);
}

int playSound(Sound* sound, bool loop, int fadeInMs, int ticks, int level) {
  int channel = -1;
  if (sound->chunk != nullptr) {
    channel = Mix_FadeInChannelTimed(ALL_CHANNELS, sound->chunk, loop ? -1 : 0, fadeInMs, ticks);
    // Effects are played at half the music's level so that they sit under it.
    if (channel >= 0) Mix_Volume(channel, level);
  }
  report({sound, loop, fadeInMs, level, channel});
  return channel;
}

int fadeOutChannel(int channel, int ms) {
  const int fading = Mix_FadeOutChannel(channel, ms);
  report({nullptr, false, ms, 0, channel});
  return fading;
}
