#pragma once

// Playing samples on the mixer's channels: music and effects alike are samples, music simply
// loops.

#include <functional>

class Sound;

// As a play channel: the first free one; as a fade-out channel: every channel.
constexpr int ALL_CHANNELS = -1;

// The volumes the game plays at, on the mixer's 0-128 scale: music at full volume, effects at
// half, so that blows and hurts sit under the music.
constexpr int MUSIC_LEVEL = 128;
constexpr int EFFECT_LEVEL = 64;

// Plays `sound` on the first free channel, looped or once, fading in over fadeInMs, for at most
// `ticks` ms (-1: no limit), at volume `level` (0-128) for the whole play, whatever the channel
// played before. Plays of one sound that the mixer begins together are heard once, at the
// loudest level asked for (CoincidingPlays). Returns the channel, or -1 when nothing started (no
// free channel, or a sample that failed to load).
int playSound(Sound* sound, bool loop, int fadeInMs, int ticks, int level);

// Fades `channel` (-1: every channel) to silence over `ms` and halts it.
int fadeOutChannel(int channel, int ms);

// What the game asked of the mixer: a sample to play, or a channel to fade out.
struct SoundRequest {
  const Sound* sound;  // null for a fade-out
  bool loop;
  int fadeMs;   // a play's fade-in, or the fade-out's length
  int level;    // a play's volume (0-128); 0 for a fade-out
  int channel;  // the channel a play got (-1: none), or the channel faded (-1: every channel)
};

// Called with every play and fade-out request, after the mixer has taken it. Lets tests hear
// what the game plays and at which level; empty by default.
void setSoundObserver(std::function<void(const SoundRequest&)> observer);
