#pragma once

#include <box2d/b2_math.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "physics/particle_contact.h"
#include "physics/particle_grid.h"
#include "physics/particle_group_def.h"
#include "physics/particle_system_def.h"
#include "physics/worker_schedule.h"

class b2Fixture;
class b2World;
class ParticleQueryCallback;
class WorkerThread;
struct b2AABB;

// A liquid of round particles beside a Box2D world: particles push, damp and drag one another,
// fall under the world's gravity, and meet the world's fixtures (pushing dynamic bodies back).
// A particle is known by its index in the buffers; indices change only at the start of Step,
// when marked and expired particles are removed and the survivors close up in order.
//
// The liquid runs right after Box2D's Step: call b2World::Step(dt, ...) and then Step(dt, ...)
// here, with the same dt (the rigid bodies see the liquid's impulses in their next step).
class ParticleSystem {
 public:
  // Does not own the world; the owner deletes the system before the world. Throws
  // std::invalid_argument for a null world or a radius, density or lifetime granularity that is
  // not positive, a negative maxCount, or a workerCount other than 0, 1 and kWorkersBySize.
  ParticleSystem(b2World* world, const ParticleSystemDef& def);
  ~ParticleSystem();
  ParticleSystem(const ParticleSystem&) = delete;
  ParticleSystem& operator=(const ParticleSystem&) = delete;

  // Fills def.shape (circle, polygon; edges and chains are stroked) on a square lattice of
  // 0.75 diameter in the shape's frame, placed at def's position and angle. Returns the number
  // of particles made; they take the indices from the old count on. Throws
  // std::invalid_argument when def.shape is null.
  int32_t CreateParticleGroup(const ParticleGroupDef& def);
  // Marks the particle; it is removed at the start of the next Step. Safe inside a query.
  // Throws std::out_of_range for an index outside 0 .. count-1.
  void DestroyParticle(int32_t index);

  int32_t GetParticleCount() const { return static_cast<int32_t>(positions_.size()); }
  const b2Vec2* GetPositionBuffer() const { return positions_.data(); }
  const b2Vec2* GetVelocityBuffer() const { return velocities_.data(); }
  const uint32_t* GetFlagsBuffer() const { return flags_.data(); }

  // Reports every particle strictly inside the box once, in index order; marked particles too.
  void QueryAABB(ParticleQueryCallback* callback, const b2AABB& box) const;

  // Advances the liquid by dt in `iterations` sub-steps (at least one); dt <= 0 does nothing.
  void Step(float dt, int32_t iterations);

  const ParticleSystemDef& GetDef() const { return def_; }

 private:
  int32_t MakeRoom(int32_t wanted);
  WorkerThread* WorkerFor(int32_t count);
  template <typename Work>
  void ForEachHalf(int32_t count, const Work& work);
  int32_t ExpirationTick(float lifetime) const;
  int32_t Now() const { return static_cast<int32_t>(timeElapsed_ >> 32); }
  void AdvanceClock(float dt);
  void RemoveDeadParticles();
  void GatherSlots(float dt);
  void ScatterSlots(float dt);
  void UpdateBodyContacts();
  void AddBodyContactWeights();
  void SolveViscousOnBodies();
  void SolvePressureOnBodies(float dt);
  void SplitContacts();
  template <typename Solve>
  void ForEachContactInHalves(const Solve& solve);
  void SolveViscousAndPressure(float dt);
  template <bool kEveryPairViscous>
  void SolveViscousAndPressure(float dt);
  void SolveGravity(float dt);
  void SolveDamping(float dt);
  void LimitVelocity(float dt);
  void SolveCollision(float dt, float rigidDt);
  void AddReaction(int32_t slot, const b2Vec2& force);
  void SolveWall();
  void CollectFixtures(const b2AABB& box);
  b2AABB ParticleBounds(float sweepDt) const;

  b2World* world_;
  ParticleSystemDef def_;
  float diameter_;
  float inverseDiameter_;
  float particleInverseMass_;
  float particleMass_;

  // Particle buffers, one entry per particle, in index order.
  std::vector<b2Vec2> positions_;
  std::vector<b2Vec2> velocities_;
  std::vector<uint32_t> flags_;
  std::vector<int32_t> expirationTicks_;  // 0: never expires

  // The same particles in the grid's slot order, as the solve sees them during a sub-step;
  // contacts name slots.
  std::vector<b2Vec2> slotPositions_;
  std::vector<b2Vec2> slotVelocities_;
  std::vector<uint32_t> slotFlags_;
  std::vector<float> weights_;
  std::vector<float> pressures_;
  std::vector<b2Vec2> pressureChanges_;  // velocity each particle's pressure pushes give it
  // Force each particle's last collision took away, given back at the start of the next sub-step.
  std::vector<b2Vec2> reactions_;
  bool hasReaction_ = false;
  uint32_t allFlags_ = 0;       // union of every particle's flags
  uint32_t commonFlags_ = ~0u;  // flags every particle has

  // Lifetime clock: ticks of lifetimeGranularity in 32.32 fixed point.
  int64_t timeElapsed_ = 0;

  ParticleGrid grid_;
  std::vector<ParticleContact> contacts_;  // the first contactCount_ are this sub-step's
  int32_t contactCount_ = 0;
  // In a liquid large enough to share, the contacts before firstHalfEnd_ and those from
  // secondHalfBegin_ on meet no common particle; the seam between them is solved after both.
  int32_t firstHalfEnd_ = 0;
  int32_t secondHalfBegin_ = 0;
  std::vector<ParticleBodyContact> bodyContacts_;
  std::vector<b2Fixture*> fixtures_;

  // The second thread, as def_.workerCount asks; the results are the same with it or without.
  std::unique_ptr<WorkerThread> worker_;
  WorkerThread* stepWorker_ = nullptr;  // the worker if this step shares its work, else null
  WorkerSchedule workerSchedule_;
};
