#include "media/coinciding_plays.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <array>
#include <memory>

namespace {

// A watched play. The mixer owns it from its registration as the channel's effect and hands it
// to endWatch when the play ends.
struct WatchedPlay {
  const Mix_Chunk* chunk;
  int level;
  bool begun = false;
  int heardLevel = 0;  // how much of `level` is heard, decided in the play's first pass
};

// The sounds begun in the mixer's current pass, each with the level heard of it so far. Only
// the mixer's thread touches them, from the effects below, which it runs inside its pass.
struct Beginning {
  const Mix_Chunk* chunk;
  int heardLevel;
};
constexpr size_t kMostSoundsBegunPerPass = 64;  // four times the game's channels
std::array<Beginning, kMostSoundsBegunPerPass> begunThisPass;
size_t soundsBegunThisPass = 0;

// Whether endPass closes each of the mixer's passes: from its registration until the mixer
// drops it, as it drops every effect when it closes. Only the game's thread touches it.
bool passesWatched = false;

// The part of `level` not yet heard from plays of the same sound begun in this pass. Past the
// table's size a play is heard in full, as without the watch.
int levelLeftToHear(const Mix_Chunk* chunk, int level) {
  const auto end = begunThisPass.begin() + soundsBegunThisPass;
  const auto begun = std::find_if(begunThisPass.begin(), end,
                                  [chunk](const Beginning& sound) { return sound.chunk == chunk; });
  if (begun != end) {
    const int left = std::max(0, level - begun->heardLevel);
    begun->heardLevel += left;
    return left;
  }
  if (soundsBegunThisPass < begunThisPass.size())
    begunThisPass[soundsBegunThisPass++] = {chunk, level};
  return level;
}

// The channel's effect: the play's samples scaled to the part of its level that is heard,
// before the mixer applies the channel's volume.
void SDLCALL hearOnce(int, void* stream, int bytes, void* watched) {
  WatchedPlay& play = *static_cast<WatchedPlay*>(watched);
  if (!play.begun) {
    play.begun = true;
    play.heardLevel = levelLeftToHear(play.chunk, play.level);
  }
  if (play.heardLevel == play.level) return;
  Sint16* samples = static_cast<Sint16*>(stream);
  const int count = bytes / static_cast<int>(sizeof(Sint16));
  for (int i = 0; i < count; ++i) {
    samples[i] = static_cast<Sint16>(samples[i] * play.heardLevel / play.level);
  }
}

void SDLCALL endWatch(int, void* watched) {
  delete static_cast<WatchedPlay*>(watched);
}

void SDLCALL endPass(int, void*, int, void*) {
  soundsBegunThisPass = 0;
}

void SDLCALL stopWatchingPasses(int, void*) {
  passesWatched = false;
}

bool watchPasses() {
  if (!passesWatched) {
    passesWatched = Mix_RegisterEffect(MIX_CHANNEL_POST, endPass, stopWatchingPasses, nullptr) != 0;
  }
  return passesWatched;
}

bool mixesSixteenBitSamples() {
  int rate = 0;
  Uint16 format = 0;
  int outputs = 0;
  return Mix_QuerySpec(&rate, &format, &outputs) != 0 && format == AUDIO_S16SYS;
}

}  // namespace

void CoincidingPlays::watch(int channel, const Mix_Chunk* chunk, int level) {
  if (!mixesSixteenBitSamples() || !watchPasses()) return;
  auto play = std::make_unique<WatchedPlay>(WatchedPlay{chunk, level});
  if (Mix_RegisterEffect(channel, hearOnce, endWatch, play.get()) != 0) play.release();
}

void CoincidingPlays::unwatch(int channel) {
  Mix_UnregisterAllEffects(channel);
}
