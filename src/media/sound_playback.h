#pragma once

// Playing samples on the mixer's channels: music and effects alike are samples, music simply
// loops.

class Sound;

// As a play channel: the first free one; as a fade-out channel: every channel.
constexpr int ALL_CHANNELS = -1;

// Plays `sound` on the first free channel, looped or once, fading in over fadeInMs, for at most
// `ticks` ms (-1: no limit), at volume `level` (0-128) for the whole play, whatever the channel
// played before. Returns the channel, or -1 when nothing started (no free channel, or a sample
// that failed to load).
int playSound(Sound* sound, bool loop, int fadeInMs, int ticks, int level);

// Fades `channel` (-1: every channel) to silence over `ms` and halts it.
int fadeOutChannel(int channel, int ms);
