#pragma once

// The fixture of every test that needs the game's runtime: SDL started headless (dummy video
// with the software renderer, dummy audio), the window, renderer and draw list of the game, the
// generated test assets loaded into the registry, and frame pacing off so that frames run as
// fast as the machine allows. The working directory is the test asset directory.

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

class GameTest : public ::testing::Test {
 public:
  // The colour of one pixel of a texture (a render target), read back through the renderer.
  static SDL_Color pixelAt(SDL_Texture* texture, int x, int y);
  // The colour of one pixel of the picture the renderer's current target holds.
  static SDL_Color pixelOfTarget(int x, int y);

 protected:
  void SetUp() override;
  void TearDown() override;
};

// Starts the headless runtime once per process; safe to call again.
void startHeadlessGame();
