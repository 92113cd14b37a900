#include "scenes/runtime_state.h"

#include "app/frame_pacer.h"
#include "app/input.h"
#include "app/screen_frames.h"
#include "media/sound_playback.h"

void resetRuntimeState() {
  resetInput();
  setPresentObserver(nullptr);
  resetScreenFrames();
  setSoundObserver(nullptr);
  FramePacer::instance().restart();
}
