// A stage of the browser build as the map screen plays it, the hero standing: the same window,
// renderer, assets and world as the game's, without the screens before it, so that the browser
// benchmarks can measure the boss fight, which takes minutes to reach by play. The stage is the
// page's query: web_stage.html?4. Built beside the browser benchmarks; scripts/bench_web.sh
// serves it.

#include <emscripten.h>
#include <emscripten/html5.h>

#include "app/app_context.h"
#include "app/application.h"
#include "app/input.h"
#include "app/screen_frames.h"
#include "graphics/draw_list.h"
#include "media/asset_registry.h"
#include "world/world_container.h"

namespace {

WorldContainer* world = nullptr;

// One frame as the map screen plays it: the picture, then the logic up to the next one.
EM_BOOL playFrame(double, void*) {
  flipFrame();
  pollInput();
  world->step();
  world->render();
  EM_ASM({ Module["framesDrawn"] = (Module["framesDrawn"] || 0) + 1; });
  return EM_TRUE;
}

}  // namespace

int main(int, char**) {
  drawList = new TarnwickApp::DrawList();
  if (!startUp() || !AssetRegistry::instance()->loadAll()) return 1;
  const int stage = EM_ASM_INT({ return Number(location.search.slice(1)) || 1; });
  world = new WorldContainer(stage);
  world->render();
  emscripten_request_animation_frame_loop(playFrame, nullptr);
  return 0;
}
