#pragma once

// A small generated asset set for tests: every name the game asks for, as plain pictures of
// known colours and sizes and short silent sounds, so that game logic can be tested without the
// real art. Written once per machine and reused.

#include <SDL.h>

#include <string>
#include <vector>

namespace TestAssets {

// The directory holding assets/assets_list.json and the files; created on first use.
std::string directory();

// The solid colour of a generated picture (water_particle and hud are partly transparent).
SDL_Color colourOf(const std::string& name);

// Width and height of a generated picture.
SDL_Point sizeOf(const std::string& name);

// Writes a 16-bit PCM WAV file of `samples`, `channels` interleaved, at `sampleRate` Hz.
void writeWav(const std::string& path, int sampleRate, int channels,
              const std::vector<Sint16>& samples);

}  // namespace TestAssets
