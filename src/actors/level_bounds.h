#pragma once

// Below this height an actor has fallen out of the level: the hero pays and starts again at the
// respawn point, a foe is gone.
constexpr float kFallLimitY = -20.0f;  // m, world y up
