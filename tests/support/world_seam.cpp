#include "support/world_seam.h"

#include "world/hud_entity.h"
#include "world/world_container.h"

void WorldSeam::replaceHud(WorldContainer& world, std::unique_ptr<HudEntity> hud) {
  world.hud_ = std::move(hud);
}
