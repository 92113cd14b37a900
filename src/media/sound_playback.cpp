#include "media/sound_playback.h"

#include <SDL_mixer.h>

#include "base/never_destroyed.h"
#include "media/coinciding_plays.h"
#include "media/sound.h"

namespace {

using SoundObserver = std::function<void(const SoundRequest&)>;
SoundObserver& soundObserver = neverDestroyed<SoundObserver>();

void report(const SoundRequest& request) {
  if (soundObserver) soundObserver(request);
}

// The channel the mixer itself would choose for ALL_CHANNELS: the first one not playing.
int firstFreeChannel() {
  const int channels = Mix_AllocateChannels(-1);
  for (int channel = 0; channel < channels; ++channel) {
    if (Mix_Playing(channel) == 0) return channel;
  }
  return -1;
}

// A fade-in rises to the volume the channel has when the play starts, and the mixer restores
// that volume when the fade ends; a channel still finishing an earlier fade would restore that
// fade's volume instead. So the channel is settled and given its level before the play, and
// watched for plays of the same sound that begin with it.
int startOnFreeChannel(Sound* sound, bool loop, int fadeInMs, int ticks, int level) {
  if (sound->chunk() == nullptr) return -1;
  const int channel = firstFreeChannel();
  if (channel < 0) return -1;
  Mix_HaltChannel(channel);
  Mix_Volume(channel, level);
  CoincidingPlays::watch(channel, sound->chunk(), level);
  const int started =
      Mix_FadeInChannelTimed(channel, sound->chunk(), loop ? -1 : 0, fadeInMs, ticks);
  if (started < 0) CoincidingPlays::unwatch(channel);
  return started;
}

}  // namespace

void setSoundObserver(std::function<void(const SoundRequest&)> observer) {
  soundObserver = std::move(observer);
}

int playSound(Sound* sound, bool loop, int fadeInMs, int ticks, int level) {
  const int channel = startOnFreeChannel(sound, loop, fadeInMs, ticks, level);
  report({sound, loop, fadeInMs, level, channel});
  return channel;
}

int fadeOutChannel(int channel, int ms) {
  const int fading = Mix_FadeOutChannel(channel, ms);
  report({nullptr, false, ms, 0, channel});
  return fading;
}
