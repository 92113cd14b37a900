// The liquid on its own, on today's engine (the scenes are in liquid_scene.h).

#include "liquid_scene.h"
#include "physics/particle_system.h"

namespace {

struct CurrentLiquid {
  using System = ::ParticleSystem;
  using SystemDef = ::ParticleSystemDef;
  using GroupDef = ::ParticleGroupDef;
  static constexpr uint32_t kViscous = ::kViscousParticle;
};

const bool registered = [] {
  liquid_bench::RegisterLiquidBenchmarks<CurrentLiquid>("");
  return true;
}();

}  // namespace
