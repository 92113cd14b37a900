#include "media/sound_playback.h"

#include <SDL_mixer.h>

#include "media/sound.h"

int playSound(Sound* sound, bool loop, int fadeInMs, int ticks, int level) {
  if (sound->chunk == nullptr) return -1;
  const int channel =
      Mix_FadeInChannelTimed(ALL_CHANNELS, sound->chunk, loop ? -1 : 0, fadeInMs, ticks);
  // Effects are played at half the music's level so that they sit under it.
  if (channel >= 0) Mix_Volume(channel, level);
  return channel;
}

int fadeOutChannel(int channel, int ms) {
  return Mix_FadeOutChannel(channel, ms);
}
