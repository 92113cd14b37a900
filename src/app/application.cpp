#include "app/application.h"

#include <SDL_image.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <cstdlib>

#include "app/app_context.h"
#include "app/frame_loop.h"
#include "app/game_window.h"
#include "app/input.h"
#include "app/screen_frames.h"
#include "app/transition.h"
#include "base/never_destroyed.h"
#include "base/platform.h"
#include "graphics/draw_list.h"
#include "media/asset_registry.h"
#include "scenes/scene.h"
#include "scenes/scene_title.h"

// The current screen, owned here beside the main loop that replaces it: deleting a screen takes
// knowing what a screen is, which the rest of app/ does not. No header of the game declares it:
// tests make their own screens current through tests/support/main_loop_seam.h. A screen still
// current when the process ends is left to the end of the process, whatever ends it.
std::unique_ptr<Scene>& currentScene = neverDestroyed<std::unique_ptr<Scene>>();

namespace {

// Sound is started on its own (openAudio), so that a machine without it still plays.
constexpr Uint32 kSdlSubsystems = SDL_INIT_TIMER | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK |
                                  SDL_INIT_HAPTIC | SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS;
constexpr int kMixerFrequency = 40960;  // Hz
constexpr int kMixerChunkSize = 4096;   // sample frames
constexpr int kMixerChannels = 16;
constexpr int kBlackFramesBeforeTitle = 60;
constexpr int kTitleFadeInFrames = 20;

// Standard output stays exactly the game's log; the reason for a failed start goes to stderr.
bool failStartUp(const char* step) {
  std::fprintf(stderr, "Tarnwick: %s failed: %s\n", step, SDL_GetError());
  return false;
}

// Without a sound device (or any sound system SDL can use) the game plays on silently: the
// sounds then fail to load, as the log shows, and the player is told here why, once.
void openAudio() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 &&
      Mix_OpenAudio(kMixerFrequency, AUDIO_S16LSB, 2, kMixerChunkSize) == 0) {
    return;
  }
  std::fprintf(stderr, "Tarnwick: no audio device: playing without sound (%s)\n", SDL_GetError());
}

// A closed window ends the game at once, from inside the input poll: nothing is destroyed first
// and main writes no exit line.
[[noreturn]] void quitOnClosedWindow() {
  logPrint("Caught Exit!\n");
  shutDown();
  std::exit(0);
}

// The window system went away under the game (the desktop session ended, a remote display
// dropped): nothing can be shown or closed any more, so the game says why and ends at once,
// destroying nothing, as it does when its window is closed.
[[noreturn]] void quitOnLostDisplay() {
  logPrint("Display lost!\n");
  std::exit(0);
}

// Told the exit status once the game is over; the status itself, for the desktop's caller.
void (*reportEnd)(int exitStatus) = nullptr;
int exitStatus = 0;
// Whether the asset list was read and could be used.
bool assetListUsable = false;
bool loadingBegun = false;

bool loadAssets() {
  AssetRegistry* registry = AssetRegistry::instance();
  if (loadingBegun) return registry->loadNext();
  loadingBegun = true;
  assetListUsable =
      registry->beginLoading(hostGivesSpareTime() ? AssetRegistry::Decoding::kSoundsInSpareTime
                                                  : AssetRegistry::Decoding::kParallel);
  return assetListUsable;
}

void decodeInSpareTime(double seconds) {
  AssetRegistry::instance()->decodeInSpareTime(seconds);
}

// Black frames, then the title fades in.
bool beginGame() {
  if (!assetListUsable || !AssetRegistry::instance()->hasRequiredAssets()) return false;
  Transition intoTitle;
  intoTitle.hold(kBlackFramesBeforeTitle).capture();
  intoTitle.then([] { currentScene = std::make_unique<SceneTitle>(); });
  playNext(intoTitle.fade(kTitleFadeInFrames));
  return prepareNextFrame();
}

void endGame(bool played) {
  shutDown();
  exitStatus = played ? 0 : -1;
  if (reportEnd != nullptr) reportEnd(exitStatus);
}

// Whether the frame the game presents next is the current screen's own frame: the one a new
// turn of the screen begins with.
bool screenFrameNext = false;

Transition leave(const SceneChange& change);

// The current screen's frame, after its picture was presented: its logic, and what it asks for.
Transition runScreen() {
  return leave(currentScene->run());
}

// Makes the next screen current. After a fade to black it is built on the black and runs its
// first frame before fading in: the display is frozen, so that frame presents nothing but draws
// the screen's first picture, or may already leave again. Otherwise the display still holds the
// old screen's last picture, which fades straight into the new one.
void bringIn(const SceneChange& change, Transition& transition) {
  const bool fromBlack = change.fadeOutFrames > 0;
  if (fromBlack) transition.capture();
  transition.then([next = change.next] { currentScene = next(); });
  if (fromBlack) transition.thenPlay(runScreen);
  transition.fade(change.fadeInFrames);
}

Transition leave(const SceneChange& change) {
  Transition transition;
  if (change.resumes) {
    return transition.append(change.interlude).thenPlay([] {
      return leave(currentScene->resume());
    });
  }
  if (!change.leaves) return transition;
  transition.capture();
  if (change.hide) transition.then(change.hide);
  if (change.fadeOutFrames > 0) transition.fade(change.fadeOutFrames);
  // The screen is deleted here, outside it: it must not destroy itself while its run() is on
  // the stack.
  transition.then([] { currentScene.reset(); });
  if (change.next) bringIn(change, transition);
  return transition;
}

}  // namespace

Scene* currentScreen() {
  return currentScene.get();
}

bool runFrame() {
  if (screenFrameNext) {
    flipFrame();
    // A screen that stays hands back an empty transition: nothing is queued.
    playNext(runScreen());
  } else {
    presentTransitionFrame();
  }
  return prepareNextFrame();
}

bool prepareNextFrame() {
  screenFrameNext = false;
  while (!settleTransitions()) {
    if (currentScene == nullptr) return false;
    // A new turn of the screen: its picture, then its logic. While the display is frozen (a
    // capture that no fade followed) the flip presents nothing and the logic runs at once.
    screenFrameNext = !screenFrozen();
    if (screenFrameNext) return true;
    playNext(runScreen());
  }
  return true;
}

int runApplication(void (*whenOver)(int exitStatus)) {
  // For the whole run: a screen still current when the game ends is never torn down, so its
  // sprites never leave the list.
  static TarnwickApp::DrawList& theDrawList = neverDestroyed<TarnwickApp::DrawList>();
  drawList = &theDrawList;
  setWindowClosedHandler(quitOnClosedWindow);
  if (!startUp()) {
    if (whenOver != nullptr) whenOver(-1);
    return -1;
  }
  platform::whenDisplayLost(quitOnLostDisplay);
  platform::endHangUpAsTermination();
  reportEnd = whenOver;
  runGameSteps({loadAssets, beginGame, runFrame, decodeInSpareTime, endGame});
  return exitStatus;
}

bool startUp() {
  if (SDL_Init(kSdlSubsystems) < 0) return failStartUp("SDL_Init");
  if (IMG_Init(IMG_INIT_PNG) != IMG_INIT_PNG) return failStartUp("PNG support (IMG_Init)");
  openAudio();
  if (Mix_Init(MIX_INIT_MP3 | MIX_INIT_OGG) == 0) return failStartUp("MP3/OGG support (Mix_Init)");
  Mix_AllocateChannels(kMixerChannels);
  SDL_Window* window = createGameWindow();
  if (window == nullptr) return failStartUp("SDL_CreateWindow");
  SDL_Renderer* renderer =
      SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
  // Every drawing call goes through the renderer, so a game without one cannot run.
  if (renderer == nullptr) return failStartUp("SDL_CreateRenderer");
  useVideoOutput(window, renderer);
  scalePictureToWindow(renderer);
  SDL_SetRenderDrawColor(renderer, 255, 255, 255, 255);
  return true;
}

void shutDown() {
  // A screen still current when the window is closed, and a picture captured for a fade that
  // never came, are left to the end of the process: their teardown would log after the last
  // line and reach a renderer that is gone.
  currentScene.release();
  resetScreenFrames(true);
  logPrint("Exiting...\n");
  SDL_DestroyRenderer(getRenderer());
  SDL_DestroyWindow(getWindow());
  useVideoOutput(nullptr, nullptr);
  logPrint("Shutting down SDL_mixer...\n");
  Mix_Quit();
  logPrint("Shutting down SDL_Image...\n");
  IMG_Quit();
  logPrint("Shutting down SDL...\n");
  SDL_Quit();
  logPrint("Shutting down...\n");
  logPrint("What?\n");
}

void runMainLoopFrame() {
  if (!prepareNextFrame()) return;
  do {
    if (!runFrame()) return;
  } while (!screenFrameNext);
}
