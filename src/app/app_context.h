#pragma once

// The process-wide application context: the window, its renderer, the draw list, the current
// screen and the input state that every subsystem reads. Created at start-up and never
// rebuilt. The window and renderer, the draw list, the log and the screen size are declared
// lower down (base/, graphics/), where pictures and sounds use them without knowing the
// application; this header gathers them with the rest.

#include <SDL.h>

#include <memory>

#include "base/log.h"
#include "base/screen_size.h"
#include "base/video_output.h"
#include "graphics/draw_list.h"

class Scene;

// The current screen, owned by the main loop (null when there is none).
Scene* currentScreen();
extern const Uint8* keyState;
