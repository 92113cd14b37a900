// Sound levels as a player hears them: the mixed output, written to a file by SDL's disk audio
// driver, compared with the same samples mixed at the levels the game asks for, and a fight on
// the game's own music measured for how loud its blows are and how close it comes to full scale.

#include "media/sound_playback.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "media/sound.h"
#include "support/game_test.h"
#include "support/test_assets.h"

namespace {

constexpr int kEffectLevel = 64;
constexpr int kMusicLevel = 128;
constexpr int kMusicFadeInMs = 20;  // the title music's
constexpr int kMixFrames = 1024;    // sample frames per mix: many mixes, many chances to race
constexpr int kToneAmplitude = 8000;
constexpr int kTonePeriodFrames = 64;
constexpr int kEffectFrames = 12288;  // 0.3 s at the game's 40960 Hz
constexpr int kMusicLoopFrames = 8192;
constexpr int kMusicMixes = 12;  // how long the music plays before it is stopped
constexpr int kWindowFrames = 1024;
// Silent frames that separate one play from the next in the mix.
constexpr size_t kGapFrames = kMixFrames;
constexpr double kLevelTolerance = 0.01;  // relative
// Far longer than any wait of a mixer that mixes, however busy the machine.
constexpr Uint32 kMixerDeadlineMs = 60000;

// A fight on the loudest bars of each tune: the heavy spin's whoosh, and blows starting in each
// of the game's own mixer chunks (4096 frames, four mixes here) for two seconds, one to three at
// once, as one strike may fell three foes.
const char* const kFightTunes[] = {"fight_bgm", "last_boss", "title"};
constexpr int kMixesPerGameChunk = 4;
constexpr int kFightBlows = 20;
constexpr int kMostFoesPerStrike = 3;
constexpr int kFightStartMix = 4;
constexpr int kLeadInSeconds = 1;  // of music before the tune's loudest moment
constexpr double kFullScale = 32767.0;
constexpr double kHeadroomDb = 1.0;        // the mix never comes closer to full scale
constexpr double kBlowsOverMusicDb = 2.0;  // the blows' peaks stand out over the music's own

constexpr SDL_AudioDeviceID kMostAudioDevices = 16;

std::atomic<int> mixesDone{0};

void countMix(void*, Uint8*, int) {
  ++mixesDone;
}

// Reopens the mixer's device on SDL's audio `driver`, in the format and with the channels it
// had. False when the mixer was not open or does not reopen.
bool reopenAudio(const char* driver) {
  int frequency = 0;
  Uint16 format = 0;
  int outputs = 0;
  if (Mix_QuerySpec(&frequency, &format, &outputs) == 0) return false;
  const int channels = Mix_AllocateChannels(-1);
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  setenv("SDL_AUDIODRIVER", driver, 1);
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  if (Mix_OpenAudio(frequency, format, outputs, kMixFrames) != 0) return false;
  Mix_AllocateChannels(channels);
  return true;
}

// The mixer's audio device: the one device open while the mixer is.
SDL_AudioDeviceID mixerDevice() {
  for (SDL_AudioDeviceID device = 1; device <= kMostAudioDevices; ++device) {
    if (SDL_GetAudioDeviceStatus(device) != SDL_AUDIO_STOPPED) return device;
  }
  return 0;
}

// Plays `sound` once at each of `volumes` while the mixer is held between two of its passes, so
// that the plays all begin in its next pass, as every play the game asks for within one of its
// frames does. Returns the plays' channels.
std::vector<int> playTogether(Sound& sound, const std::vector<int>& volumes) {
  const SDL_AudioDeviceID device = mixerDevice();
  std::vector<int> channels;
  SDL_LockAudioDevice(device);
  for (const int volume : volumes) channels.push_back(playSound(&sound, false, 0, -1, volume));
  SDL_UnlockAudioDevice(device);
  return channels;
}

testing::AssertionResult eachOnAChannelOfItsOwn(std::vector<int> channels) {
  std::sort(channels.begin(), channels.end());
  if (channels.front() < 0) return testing::AssertionFailure() << "a play did not start";
  if (std::adjacent_find(channels.begin(), channels.end()) != channels.end()) {
    return testing::AssertionFailure() << "two plays share a channel";
  }
  return testing::AssertionSuccess();
}

// A square wave as loud as kToneAmplitude on every output.
std::vector<Sint16> tone(int frames, int outputs) {
  std::vector<Sint16> samples;
  for (int frame = 0; frame < frames; ++frame) {
    const bool high = frame % kTonePeriodFrames < kTonePeriodFrames / 2;
    samples.insert(samples.end(), outputs, high ? kToneAmplitude : -kToneAmplitude);
  }
  return samples;
}

// The root-mean-square level of samples.
double level(std::vector<Sint16>::const_iterator begin, std::vector<Sint16>::const_iterator end) {
  double sum = 0.0;
  for (auto sample = begin; sample != end; ++sample) sum += double(*sample) * double(*sample);
  return std::sqrt(sum / static_cast<double>(std::distance(begin, end)));
}

// The level of `sound` mixed alone at `volume`, as the mixer mixes one channel.
double intendedLevel(Sound& sound, int volume) {
  const Mix_Chunk& chunk = *sound.chunk();
  std::vector<Sint16> mixed(chunk.alen / sizeof(Sint16), 0);
  SDL_MixAudioFormat(reinterpret_cast<Uint8*>(mixed.data()), chunk.abuf, AUDIO_S16SYS, chunk.alen,
                     volume);
  return level(mixed.begin(), mixed.end());
}

double decibels(double ratio) {
  return 20.0 * std::log10(ratio);
}

std::vector<Sint16> samplesOf(const Mix_Chunk& chunk) {
  const Sint16* first = reinterpret_cast<const Sint16*>(chunk.abuf);
  return std::vector<Sint16>(first, first + chunk.alen / sizeof(Sint16));
}

// One of the game's own sounds, as the asset registry loads it.
std::unique_ptr<Sound> gameSound(const std::string& name) {
  const std::string path = std::string(TARNWICK_SOURCE_DIR) + "/assets/sound/" + name + ".ogg";
  return std::make_unique<Sound>(path, Sound::decode(path));
}

// The loudest sample, found by its magnitude.
std::vector<Sint16>::const_iterator loudest(const std::vector<Sint16>& samples) {
  return std::max_element(samples.begin(), samples.end(),
                          [](Sint16 a, Sint16 b) { return std::abs(int(a)) < std::abs(int(b)); });
}

// The rest of `tune` from sample frame `frame` on, sharing the tune's samples.
std::unique_ptr<Sound> restOf(Sound& tune, size_t frame, int outputs) {
  const size_t offset = frame * outputs * sizeof(Sint16);
  const Mix_Chunk& whole = *tune.chunk();
  Sound::Decoded rest;
  rest.chunk.reset(
      Mix_QuickLoad_RAW(whole.abuf + offset, whole.alen - static_cast<Uint32>(offset)));
  return std::make_unique<Sound>("the rest of a tune", std::move(rest));
}

// A stretch of the mix between silences, in samples.
struct Play {
  size_t begin;
  size_t end;
};

// The plays heard in `mix`: sounding stretches separated by at least kGapFrames of silence.
std::vector<Play> playsIn(const std::vector<Sint16>& mix, int outputs) {
  const size_t gap = kGapFrames * outputs;
  std::vector<Play> plays;
  for (size_t i = 0; i < mix.size(); ++i) {
    if (mix[i] == 0) continue;
    if (plays.empty() || i - plays.back().end >= gap) plays.push_back({i, i});
    plays.back().end = i + 1;
  }
  return plays;
}

class SoundMix : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    const std::string stem = testing::TempDir() + "tarnwick-mix-" + std::to_string(getpid());
    mixPath = stem + ".raw";
    Uint16 format = 0;
    ASSERT_NE(0, Mix_QuerySpec(&frequency, &format, &outputs)) << "the mixer is not open";
    ASSERT_EQ(AUDIO_S16SYS, format);
    setenv("SDL_DISKAUDIOFILE", mixPath.c_str(), 1);
    ASSERT_TRUE(reopenAudio("disk")) << SDL_GetError();
    Mix_SetPostMix(countMix, nullptr);
    // At the mixer's own rate and outputs, the samples are mixed as written.
    TestAssets::writeWav(stem + "-effect.wav", frequency, outputs, tone(kEffectFrames, outputs));
    TestAssets::writeWav(stem + "-music.wav", frequency, outputs, tone(kMusicLoopFrames, outputs));
    effect = new Sound(stem + "-effect.wav", Sound::decode(stem + "-effect.wav"));
    music = new Sound(stem + "-music.wav", Sound::decode(stem + "-music.wav"));
    std::remove((stem + "-effect.wav").c_str());
    std::remove((stem + "-music.wav").c_str());
    ASSERT_NE(nullptr, effect->chunk());
    ASSERT_NE(nullptr, music->chunk());
  }
  void TearDown() override {
    finishMix();
    delete effect;
    delete music;
    std::remove(mixPath.c_str());
    unsetenv("SDL_DISKAUDIOFILE");
    GameTest::TearDown();
  }

  // Ends the recording (the disk driver writes the file out when its device closes) and
  // returns to silent audio.
  void finishMix() {
    if (finished) return;
    finished = true;
    Mix_SetPostMix(nullptr, nullptr);
    reopenAudio("dummy");
  }
  std::vector<Sint16> recordedMix() {
    finishMix();
    std::ifstream file(mixPath, std::ios::binary);
    std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::vector<Sint16> mix(bytes.size() / sizeof(Sint16));
    std::copy(bytes.begin(), bytes.begin() + mix.size() * sizeof(Sint16),
              reinterpret_cast<char*>(mix.data()));
    return mix;
  }

  // Waits for the mixer, not the clock, so that a busy machine only makes the test slower; a
  // mixer that stops mixing fails the test instead of hanging it.
  static testing::AssertionResult waitForMixes(int count) {
    const int until = mixesDone + count;
    return waitFor([&] { return mixesDone >= until; }, "mixes");
  }
  static testing::AssertionResult waitUntilSilent(int channel) {
    const testing::AssertionResult silent =
        waitFor([&] { return Mix_Playing(channel) == 0; }, "the end of the channel's play");
    if (!silent) return silent;
    return waitForMixes(2);  // a silent stretch before whatever comes next
  }
  template <typename Condition>
  static testing::AssertionResult waitFor(const Condition& done, const char* what) {
    const Uint32 start = SDL_GetTicks();
    while (!done()) {
      if (SDL_GetTicks() - start > kMixerDeadlineMs) {
        return testing::AssertionFailure()
               << "no " << what << " in " << kMixerDeadlineMs << " ms: the mixer stopped";
      }
      SDL_Delay(1);
    }
    return testing::AssertionSuccess();
  }

  // Checks every whole window of `play` from `skipFrames` on against `expected`.
  void expectLevel(const std::vector<Sint16>& mix, const Play& play, double expected,
                   size_t skipFrames, const char* what) {
    const size_t window = static_cast<size_t>(kWindowFrames) * outputs;
    size_t windows = 0;
    for (size_t at = play.begin + skipFrames * outputs; at + window <= play.end; at += window) {
      const double heard = level(mix.begin() + at, mix.begin() + at + window);
      ++windows;
      if (std::abs(heard - expected) <= expected * kLevelTolerance) continue;
      ADD_FAILURE() << what << " is at level " << heard << " instead of " << expected << " "
                    << 1000 * (at - play.begin) / outputs / frequency << " ms into its play";
      return;
    }
    EXPECT_GT(windows, 0u) << what << " was too short to be heard";
  }

  // The music at full volume from shortly before its loudest frame, the spin's whoosh and the
  // blows at half, started mix by mix as the game would start them; then every channel stops.
  void playFight(Sound& tune, size_t loudestFrame, Sound& spin, Sound& blow) {
    const size_t leadIn = static_cast<size_t>(kLeadInSeconds) * frequency;
    const std::unique_ptr<Sound> loudBars =
        restOf(tune, loudestFrame > leadIn ? loudestFrame - leadIn : 0, outputs);
    ASSERT_GE(playSound(loudBars.get(), false, 0, -1, kMusicLevel), 0);
    for (int mix = 0; mix < kFightStartMix + kFightBlows * kMixesPerGameChunk; ++mix) {
      if (mix == kFightStartMix) playSound(&spin, false, 0, -1, kEffectLevel);
      const int sinceFirstBlow = mix - kFightStartMix;
      if (sinceFirstBlow >= 0 && sinceFirstBlow % kMixesPerGameChunk == 0) {
        const int strike = sinceFirstBlow / kMixesPerGameChunk;
        const std::vector<int> volumes(1 + strike % kMostFoesPerStrike, kEffectLevel);
        EXPECT_TRUE(eachOnAChannelOfItsOwn(playTogether(blow, volumes)));
      }
      waitForMixes(1);
    }
    fadeOutChannel(ALL_CHANNELS, 0);
    waitUntilSilent(ALL_CHANNELS);
  }

  int frequency = 0;
  int outputs = 0;
  std::string mixPath;
  Sound* effect = nullptr;
  Sound* music = nullptr;
  bool finished = false;
};

// An effect, then music on the channel the effect played on, then the effect again on the
// channel the music played on: each holds its level from its first mix to its last.
TEST_F(SoundMix, EffectsAndMusicHoldTheirLevelsForTheWholePlayOnAReusedChannel) {
  const int firstEffect = playSound(effect, false, 0, -1, kEffectLevel);
  ASSERT_GE(firstEffect, 0);
  ASSERT_TRUE(waitUntilSilent(firstEffect));
  const int musicChannel = playSound(music, true, kMusicFadeInMs, -1, kMusicLevel);
  EXPECT_EQ(firstEffect, musicChannel) << "the music takes the first free channel";
  ASSERT_TRUE(waitForMixes(kMusicMixes));
  fadeOutChannel(musicChannel, 0);
  ASSERT_TRUE(waitUntilSilent(musicChannel));
  const int secondEffect = playSound(effect, false, 0, -1, kEffectLevel);
  EXPECT_EQ(musicChannel, secondEffect);
  ASSERT_TRUE(waitUntilSilent(secondEffect));

  const double effectLevel = intendedLevel(*effect, kEffectLevel);
  const double musicLevel = intendedLevel(*music, kMusicLevel);
  const std::vector<Sint16> mix = recordedMix();
  const std::vector<Play> plays = playsIn(mix, outputs);
  ASSERT_EQ(3u, plays.size()) << "effect, music, effect, with silence between";
  const size_t effectSamples = static_cast<size_t>(kEffectFrames) * outputs;
  EXPECT_EQ(effectSamples, plays[0].end - plays[0].begin) << "the whole effect is heard";
  expectLevel(mix, plays[0], effectLevel, 0, "the first effect");
  // The music's first two mixes may still be fading in.
  expectLevel(mix, plays[1], musicLevel, 2 * kMixFrames, "the music");
  EXPECT_EQ(effectSamples, plays[2].end - plays[2].begin);
  expectLevel(mix, plays[2], effectLevel, 0, "the second effect");
}

// One strike felling three foes, two of them asking for the blow at full level: the three plays
// begin on the same sample and are heard once, at the loudest level asked for, each on a channel
// of its own. A blow a mix after another is heard in full over it.
TEST_F(SoundMix, PlaysOfOneSoundBegunTogetherAreHeardOnceAtTheLoudestLevel) {
  EXPECT_TRUE(eachOnAChannelOfItsOwn(
      playTogether(*effect, {kEffectLevel / 2, kEffectLevel, kEffectLevel})));
  ASSERT_TRUE(waitUntilSilent(ALL_CHANNELS));
  ASSERT_GE(playSound(effect, false, 0, -1, kEffectLevel), 0);
  ASSERT_TRUE(waitForMixes(1));
  ASSERT_GE(playSound(effect, false, 0, -1, kEffectLevel), 0);
  ASSERT_TRUE(waitUntilSilent(ALL_CHANNELS));

  const double effectLevel = intendedLevel(*effect, kEffectLevel);
  const std::vector<Sint16> mix = recordedMix();
  const std::vector<Play> plays = playsIn(mix, outputs);
  ASSERT_EQ(2u, plays.size()) << "the strike's blows, then two blows a mix apart";
  EXPECT_EQ(static_cast<size_t>(kEffectFrames) * outputs, plays[0].end - plays[0].begin);
  expectLevel(mix, plays[0], effectLevel, 0, "three blows begun together");
  // The tone's period divides a mix, so the later blow adds to the earlier in phase.
  const std::vector<Sint16> twoBlows(mix.begin() + plays[1].begin, mix.begin() + plays[1].end);
  const std::vector<Sint16> oneBlow(mix.begin() + plays[0].begin, mix.begin() + plays[0].end);
  EXPECT_EQ(2 * std::abs(int(*loudest(oneBlow))), std::abs(int(*loudest(twoBlows))));
}

// The game's own music with a fight on its loudest bars: the blows stand out over the music's
// loudest moment, and the mix stays a decibel under full scale on every tune a fight is heard on.
TEST_F(SoundMix, AFightOnTheLoudestBarsOfEveryTuneIsHeardAndStaysUnderFullScale) {
  const std::unique_ptr<Sound> spin = gameSound("serval_cat_atk_long");
  const std::unique_ptr<Sound> blow = gameSound("damage");
  ASSERT_NE(nullptr, spin->chunk());
  ASSERT_NE(nullptr, blow->chunk());
  std::vector<double> musicPeaks;
  for (const char* name : kFightTunes) {
    const std::unique_ptr<Sound> tune = gameSound(name);
    ASSERT_NE(nullptr, tune->chunk()) << name;
    const std::vector<Sint16> samples = samplesOf(*tune->chunk());
    const auto loudestSample = loudest(samples);
    musicPeaks.push_back(std::abs(int(*loudestSample)));
    playFight(*tune, static_cast<size_t>(loudestSample - samples.begin()) / outputs, *spin, *blow);
  }

  const std::vector<Sint16> mix = recordedMix();
  const std::vector<Play> plays = playsIn(mix, outputs);
  ASSERT_EQ(std::size(kFightTunes), plays.size()) << "one fight on each tune, silence between";
  for (size_t i = 0; i < plays.size(); ++i) {
    const std::vector<Sint16> fight(mix.begin() + plays[i].begin, mix.begin() + plays[i].end);
    const double peak = std::abs(int(*loudest(fight)));
    EXPECT_LE(decibels(peak / kFullScale), -kHeadroomDb) << kFightTunes[i];
    EXPECT_GE(decibels(peak / musicPeaks[i]), kBlowsOverMusicDb)
        << kFightTunes[i] << ": the blows are lost in the music";
  }
}

}  // namespace
