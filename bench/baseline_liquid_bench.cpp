// The liquid benchmarks on the engine as it stood at commit BASELINE_LIQUID_COMMIT (written out
// from the repository's history by scripts/baseline_liquid.sh), under the same names followed by
// /BASELINE_LIQUID_COMMIT, so that one run compares the two engines. Pass
// --benchmark_enable_random_interleaving=true with repetitions to interleave them. Built only
// where the history holds that commit.

#include "baseline_physics/particle_system.h"
#include "liquid_scene.h"

namespace {

struct BaselineLiquid {
  using System = baseline_liquid::ParticleSystem;
  using SystemDef = baseline_liquid::ParticleSystemDef;
  using GroupDef = baseline_liquid::ParticleGroupDef;
  static constexpr uint32_t kViscous = baseline_liquid::kViscousParticle;
};

const bool registered = [] {
  liquid_bench::RegisterLiquidBenchmarks<BaselineLiquid>("/" BASELINE_LIQUID_COMMIT);
  return true;
}();

}  // namespace
