#pragma once

// The stages, as a table of scripts: a script builds its stage into a fresh world (pictures,
// music, terrain, foes, start point) and registers the triggers that watch it. A new stage is a
// new script and one more row of the table.

#include <cstdint>

class WorldContainer;

// Builds one stage into `world`, whose player and overlay already exist.
using StageScript = void (*)(WorldContainer& world);

// The script of stage `stageNumber` (the first is 1), or null when there is no such stage.
StageScript stageScript(int32_t stageNumber);
