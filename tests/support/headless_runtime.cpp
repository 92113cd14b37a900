#include "support/headless_runtime.h"

#include <cstdio>
#include <cstdlib>

#include "app/app_context.h"
#include "app/application.h"
#include "app/frame_pacer.h"
#include "graphics/draw_list.h"

bool startHeadlessRuntime() {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_RENDER_DRIVER", "software", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  // The software renderer would otherwise wait out a simulated display refresh at every present.
  setenv("SDL_RENDER_VSYNC", "0", 1);
  drawList = new TarnwickApp::DrawList();
  FramePacer::instance().setEnabled(false);
  return startUp();
}
