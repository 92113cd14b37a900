#include "physics/particle_system.h"

#include <box2d/b2_body.h>
#include <box2d/b2_chain_shape.h>
#include <box2d/b2_collision.h>
#include <box2d/b2_edge_shape.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_shape.h>
#include <box2d/b2_world.h>
#include <box2d/b2_world_callbacks.h>

#include <algorithm>
#include <cfloat>
#include <chrono>
#include <climits>
#include <cmath>
#include <stdexcept>
#include <string>

#include "physics/particle_query_callback.h"
#include "physics/shape_distance.h"
#include "physics/usable_threads.h"
#include "physics/worker_thread.h"

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace {

constexpr float kParticleStride = 0.75f;         // lattice spacing of a filled group, in diameters
constexpr float kMinParticleWeight = 1.0f;       // contact weight at which pressure starts
constexpr float kMaxParticlePressure = 0.25f;    // in units of the critical pressure
constexpr float kMaxDampingFraction = 0.5f;      // of the approaching speed, per contact and step
constexpr float kFixedPointOne = 4294967296.0f;  // 2^32: one tick of the lifetime clock
constexpr float kMaxTicks = 1.0e9f;              // longest lifetime or step the clock takes
// Below this many particles (a boss's burst is 2693) the search and the contact passes are too
// short to gain from sharing them with a second thread, so kWorkersBySize shares none of them.
// A liquid this large solves its contacts in two halves and then their seam, whether or not a
// step is shared, and a smaller one in one run, even with a worker (which then shares only the
// search and the passes over particles): by size alone, so that the flow never depends on the
// sharing.
constexpr int32_t kMinSharedParticles = 8192;

// Collects each non-sensor fixture near a box once, in the order Box2D reports them (a chain
// fixture is reported once per link).
class FixtureCollector : public b2QueryCallback {
 public:
  explicit FixtureCollector(std::vector<b2Fixture*>* fixtures) : fixtures_(fixtures) {}
  bool ReportFixture(b2Fixture* fixture) override {
    if (fixture->IsSensor()) return true;
    if (std::find(fixtures_->begin(), fixtures_->end(), fixture) == fixtures_->end()) {
      fixtures_->push_back(fixture);
    }
    return true;
  }

 private:
  std::vector<b2Fixture*>* fixtures_;
};

// Branch-free min and max: the damping's choices depend on each contact and defeat prediction.
// SSE's own instructions on broadcast operands, which the compiler keeps in registers (plain
// comparisons may become branches).
inline float Min(float a, float b) {
#if defined(__SSE__)
  return _mm_cvtss_f32(_mm_min_ss(_mm_set1_ps(a), _mm_set1_ps(b)));
#else
  return a < b ? a : b;
#endif
}

inline float Max(float a, float b) {
#if defined(__SSE__)
  return _mm_cvtss_f32(_mm_max_ss(_mm_set1_ps(a), _mm_set1_ps(b)));
#else
  return a > b ? a : b;
#endif
}

// Lattice points of a circle or polygon in its own frame: rows in y, then x, from the multiples
// of the stride at or below its lower bounds.
std::vector<b2Vec2> FillPoints(const b2Shape& shape, float stride) {
  b2Transform identity;
  identity.SetIdentity();
  b2AABB box;
  shape.ComputeAABB(&box, identity, 0);
  std::vector<b2Vec2> points;
  for (float y = std::floor(box.lowerBound.y / stride) * stride; y < box.upperBound.y;
       y += stride) {
    for (float x = std::floor(box.lowerBound.x / stride) * stride; x < box.upperBound.x;
         x += stride) {
      const b2Vec2 p(x, y);
      if (shape.TestPoint(identity, p)) points.push_back(p);
    }
  }
  return points;
}

// Points one stride apart along an edge or a chain's links, the spacing carried across corners.
std::vector<b2Vec2> StrokePoints(const b2Shape& shape, float stride) {
  std::vector<b2Vec2> points;
  float along = 0.0f;
  for (int32_t child = 0; child < shape.GetChildCount(); ++child) {
    b2EdgeShape edge;
    if (shape.GetType() == b2Shape::e_edge) {
      edge = static_cast<const b2EdgeShape&>(shape);
    } else {
      static_cast<const b2ChainShape&>(shape).GetChildEdge(&edge, child);
    }
    const b2Vec2 d = edge.m_vertex2 - edge.m_vertex1;
    const float length = d.Length();
    for (; along < length; along += stride) points.push_back(edge.m_vertex1 + (along / length) * d);
    along -= length;
  }
  return points;
}

// The liquid's reaction on a body: dynamic bodies take it (and wake), the others never move.
void PushBody(b2Body* body, const b2Vec2& impulse, const b2Vec2& point) {
  if (body->GetType() == b2_dynamicBody) body->ApplyLinearImpulse(impulse, point, true);
}

bool IsInside(const b2Vec2& p, const b2Vec2& lower, const b2Vec2& upper) {
  return lower.x <= p.x && p.x <= upper.x && lower.y <= p.y && p.y <= upper.y;
}

// Where a particle near a moving body would be had it moved with the body over the last rigid
// step, from the body's pose then (xf0) to its pose now (xf). Around a circle only the centre's
// motion counts, so a rolling wheel does not fling the liquid round.
b2Vec2 CarryWithBody(const b2Vec2& p, const b2Transform& xf0, const b2Transform& xf,
                     const b2Vec2& localCenter, bool circle) {
  b2Vec2 local = b2MulT(xf0, p);
  if (circle) local = b2MulT(xf.q, b2Mul(xf0.q, local - localCenter)) + localCenter;
  return b2Mul(xf, local);
}

// Runs solve over the contacts as eight interleaved streams: the eight parts of the list side by
// side. Each part covers its own stretch of the liquid, so the streams seldom share a particle
// and the result is that of the plain order but on the seams; the processor then overlaps eight
// chains of dependent velocity updates instead of waiting on one.
template <typename Solve>
void ForEachContact(const ParticleContact* contacts, int32_t count, Solve&& solve) {
  constexpr int32_t kStreams = 8;
  const int32_t part = count / kStreams;
  for (int32_t k = 0; k < part; ++k) {
#pragma GCC unroll 8
    for (int32_t s = 0; s < kStreams; ++s) solve(contacts[k + s * part]);
  }
  for (int32_t k = kStreams * part; k < count; ++k) solve(contacts[k]);
}

}  // namespace

ParticleSystem::ParticleSystem(b2World* world, const ParticleSystemDef& def)
    : world_(world), def_(def) {
  if (world == nullptr) throw std::invalid_argument("ParticleSystem needs a world");
  if (!(def.radius > 0.0f) || !std::isfinite(def.radius)) {
    throw std::invalid_argument("ParticleSystemDef.radius must be positive");
  }
  if (!(def.density > 0.0f))
    throw std::invalid_argument("ParticleSystemDef.density must be positive");
  if (!(def.lifetimeGranularity > 0.0f)) {
    throw std::invalid_argument("ParticleSystemDef.lifetimeGranularity must be positive");
  }
  if (def.maxCount < 0)
    throw std::invalid_argument("ParticleSystemDef.maxCount must not be negative");
  if (def.workerCount != 0 && def.workerCount != 1 &&
      def.workerCount != ParticleSystemDef::kWorkersBySize) {
    throw std::invalid_argument("ParticleSystemDef.workerCount must be 0, 1 or kWorkersBySize");
  }
  diameter_ = 2.0f * def_.radius;
  inverseDiameter_ = 1.0f / diameter_;
  const float inverseStride = inverseDiameter_ * (1.0f / kParticleStride);
  particleInverseMass_ = (1.0f / def_.density) * inverseStride * inverseStride;
  const float stride = kParticleStride * diameter_;
  particleMass_ = def_.density * stride * stride;
  grid_.SetDiameter(diameter_);
}

ParticleSystem::~ParticleSystem() = default;

int32_t ParticleSystem::CreateParticleGroup(const ParticleGroupDef& def) {
  if (def.shape == nullptr) throw std::invalid_argument("ParticleGroupDef.shape is null");
  const float stride = kParticleStride * diameter_;
  const b2Shape::Type type = def.shape->GetType();
  const std::vector<b2Vec2> points = type == b2Shape::e_circle || type == b2Shape::e_polygon
                                         ? FillPoints(*def.shape, stride)
                                         : StrokePoints(*def.shape, stride);
  const int32_t made =
      std::min(static_cast<int32_t>(points.size()),
               def_.maxCount > 0 ? MakeRoom(static_cast<int32_t>(points.size())) : INT32_MAX);
  if (made <= 0) return 0;

  const int32_t expiration = ExpirationTick(def.lifetime);
  b2Transform xf;
  xf.Set(def.position, def.angle);
  for (int32_t i = 0; i < made; ++i) {
    const b2Vec2 p = b2Mul(xf, points[i]);
    positions_.push_back(p);
    velocities_.push_back(def.linearVelocity + b2Cross(def.angularVelocity, p - def.position));
    flags_.push_back(def.flags);
    expirationTicks_.push_back(expiration);
  }
  if (hasReaction_) reactions_.resize(positions_.size(), b2Vec2_zero);
  allFlags_ |= def.flags;
  commonFlags_ &= def.flags;
  return made;
}

// The lifetime clock's tick at which a particle made now with this lifetime expires; 0: never.
int32_t ParticleSystem::ExpirationTick(float lifetime) const {
  if (!(lifetime > 0.0f)) return 0;
  const float ticks = std::min(lifetime / def_.lifetimeGranularity, kMaxTicks);
  return Now() + std::max(static_cast<int32_t>(ticks), 1);
}

// At maxCount: marks the particles that must give way (those closest to expiry, then the oldest)
// when destroyByAge is on; returns how many of `wanted` new particles may be made.
int32_t ParticleSystem::MakeRoom(int32_t wanted) {
  std::vector<int32_t> alive;
  for (int32_t i = 0; i < GetParticleCount(); ++i) {
    if (!(flags_[i] & kZombieParticle)) alive.push_back(i);
  }
  const int32_t room = def_.maxCount - static_cast<int32_t>(alive.size());
  if (wanted <= room) return wanted;
  if (!def_.destroyByAge) return std::max(room, 0);
  auto expiry = [this](int32_t i) {
    return expirationTicks_[i] > 0 ? expirationTicks_[i] : INT32_MAX;
  };
  std::stable_sort(alive.begin(), alive.end(),
                   [&](int32_t a, int32_t b) { return expiry(a) < expiry(b); });
  const int32_t victims = std::min(wanted - room, static_cast<int32_t>(alive.size()));
  for (int32_t k = 0; k < victims; ++k) flags_[alive[k]] |= kZombieParticle;
  return std::min(wanted, def_.maxCount);
}

void ParticleSystem::DestroyParticle(int32_t index) {
  if (index < 0 || index >= GetParticleCount()) {
    throw std::out_of_range("DestroyParticle: no particle " + std::to_string(index));
  }
  flags_[index] |= kZombieParticle;
}

void ParticleSystem::QueryAABB(ParticleQueryCallback* callback, const b2AABB& box) const {
  // A plain scan: a query costs microseconds even for a boss's burst, and a callback may destroy
  // or create particles while it runs.
  const size_t count = positions_.size();
  for (size_t i = 0; i < count && i < positions_.size(); ++i) {
    const b2Vec2 p = positions_[i];
    if (box.lowerBound.x < p.x && p.x < box.upperBound.x && box.lowerBound.y < p.y &&
        p.y < box.upperBound.y) {
      if (!callback->ReportParticle(this, static_cast<int32_t>(i))) return;
    }
  }
}

void ParticleSystem::Step(float dt, int32_t iterations) {
  if (!(dt > 0.0f) || positions_.empty()) return;
  AdvanceClock(dt);
  RemoveDeadParticles();
  const int32_t count = GetParticleCount();
  if (count == 0) return;
  weights_.resize(count);
  pressures_.resize(count);
  const int32_t subSteps = std::max(iterations, 1);
  const float subDt = dt / static_cast<float>(subSteps);
  stepWorker_ = WorkerFor(count);
  const auto start = std::chrono::steady_clock::now();
  for (int32_t i = 0; i < subSteps; ++i) {
    grid_.Build(positions_.data(), count, stepWorker_);
    GatherSlots(subDt);
    contactCount_ = grid_.FindContacts(&contacts_, weights_.data(), stepWorker_);
    if (count >= kMinSharedParticles) SplitContacts();
    UpdateBodyContacts();
    AddBodyContactWeights();
    if (allFlags_ & kViscousParticle) SolveViscousOnBodies();
    SolvePressureOnBodies(subDt);
    SolveViscousAndPressure(subDt);
    SolveGravity(subDt);
    SolveDamping(subDt);
    LimitVelocity(subDt);
    SolveCollision(subDt, i == 0 ? dt : 0.0f);
    if (allFlags_ & kWallParticle) SolveWall();
    ScatterSlots(subDt);
  }
  if (worker_ && def_.workerCount == ParticleSystemDef::kWorkersBySize) {
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    workerSchedule_.Record(stepWorker_ != nullptr, took.count(), count);
  }
}

// The step's second thread, made when first needed, or null: never with none or where the game
// may use only one thread (a single core, the browser); always the worker with one; and by size
// only for a liquid large enough to gain from it, while recent steps were faster shared.
WorkerThread* ParticleSystem::WorkerFor(int32_t count) {
  if (def_.workerCount == 0 || usableThreads() < 2) return nullptr;
  const bool bySize = def_.workerCount == ParticleSystemDef::kWorkersBySize;
  if (bySize && count < kMinSharedParticles) return nullptr;
  if (!worker_) worker_ = std::make_unique<WorkerThread>();
  if (!bySize) return worker_.get();
  return workerSchedule_.ShareNextStep() ? worker_.get() : nullptr;
}

// Runs work(first, last) over slots 0 .. count-1, halved with the step's worker if there is one.
template <typename Work>
void ParticleSystem::ForEachHalf(int32_t count, const Work& work) {
  WorkerThread::SplitInHalves(stepWorker_, static_cast<size_t>(count),
                              [&](size_t first, size_t last) {
                                work(static_cast<int32_t>(first), static_cast<int32_t>(last));
                              });
}

// Copies the particles into slot order for the sub-step, with the velocity the last collisions
// took away given back (it plays no part before the solve's first velocity pass).
void ParticleSystem::GatherSlots(float dt) {
  const int32_t count = GetParticleCount();
  slotPositions_.resize(count);
  slotVelocities_.resize(count);
  slotFlags_.resize(count);
  const int32_t* indices = grid_.SortedIndices();
  const float velocityPerForce = dt * particleInverseMass_;
  const bool hasReaction = hasReaction_;
  ForEachHalf(count, [&](int32_t first, int32_t last) {
    for (int32_t k = first; k < last; ++k) {
      const int32_t i = indices[k];
      slotPositions_[k] = positions_[i];
      slotVelocities_[k] = velocities_[i];
      slotFlags_[k] = flags_[i];
      if (hasReaction) slotVelocities_[k] += velocityPerForce * reactions_[i];
    }
  });
  hasReaction_ = false;
}

// Moves every particle by its new velocity and puts it back in index order.
void ParticleSystem::ScatterSlots(float dt) {
  const int32_t* indices = grid_.SortedIndices();
  ForEachHalf(GetParticleCount(), [&](int32_t first, int32_t last) {
    for (int32_t k = first; k < last; ++k) {
      const int32_t i = indices[k];
      positions_[i] = slotPositions_[k] + dt * slotVelocities_[k];
      velocities_[i] = slotVelocities_[k];
    }
  });
}

void ParticleSystem::AdvanceClock(float dt) {
  const float ticks = std::min(dt / def_.lifetimeGranularity, kMaxTicks);
  timeElapsed_ += static_cast<int64_t>(ticks * kFixedPointOne);
}

void ParticleSystem::RemoveDeadParticles() {
  const int32_t now = Now();
  const int32_t count = GetParticleCount();
  auto dead = [&](int32_t i) {
    return (flags_[i] & kZombieParticle) || (expirationTicks_[i] > 0 && expirationTicks_[i] <= now);
  };
  int32_t firstDead = 0;
  while (firstDead < count && !dead(firstDead)) ++firstDead;
  if (firstDead == count) return;

  int32_t kept = 0;
  uint32_t allFlags = 0;
  uint32_t commonFlags = ~0u;
  for (int32_t i = 0; i < count; ++i) {
    if (dead(i)) continue;
    positions_[kept] = positions_[i];
    velocities_[kept] = velocities_[i];
    flags_[kept] = flags_[i];
    expirationTicks_[kept] = expirationTicks_[i];
    if (hasReaction_) reactions_[kept] = reactions_[i];
    allFlags |= flags_[i];
    commonFlags &= flags_[i];
    ++kept;
  }
  positions_.resize(kept);
  velocities_.resize(kept);
  flags_.resize(kept);
  expirationTicks_.resize(kept);
  if (hasReaction_) reactions_.resize(kept);
  allFlags_ = allFlags;
  commonFlags_ = commonFlags;
}

// Two particles at a time through SSE's four lanes, then the two halves merged.
b2AABB ParticleSystem::ParticleBounds(float sweepDt) const {
  b2AABB box;
  box.lowerBound.Set(FLT_MAX, FLT_MAX);
  box.upperBound.Set(-FLT_MAX, -FLT_MAX);
  const int32_t count = GetParticleCount();
  int32_t i = 0;
#if defined(__SSE__)
  const float* positions = &slotPositions_.data()->x;
  const float* velocities = &slotVelocities_.data()->x;
  const __m128 dt = _mm_set1_ps(sweepDt);
  __m128 lower = _mm_set1_ps(FLT_MAX);
  __m128 upper = _mm_set1_ps(-FLT_MAX);
  for (; i + 1 < count; i += 2) {
    const __m128 p1 = _mm_loadu_ps(positions + 2 * i);
    const __m128 p2 = _mm_add_ps(p1, _mm_mul_ps(dt, _mm_loadu_ps(velocities + 2 * i)));
    lower = _mm_min_ps(lower, _mm_min_ps(p1, p2));
    upper = _mm_max_ps(upper, _mm_max_ps(p1, p2));
  }
  lower = _mm_min_ps(lower, _mm_movehl_ps(lower, lower));
  upper = _mm_max_ps(upper, _mm_movehl_ps(upper, upper));
  _mm_storel_pi(reinterpret_cast<__m64*>(&box.lowerBound), lower);
  _mm_storel_pi(reinterpret_cast<__m64*>(&box.upperBound), upper);
#endif
  for (; i < count; ++i) {
    const b2Vec2 p1 = slotPositions_[i];
    const b2Vec2 p2 = p1 + sweepDt * slotVelocities_[i];
    box.lowerBound = b2Min(box.lowerBound, b2Min(p1, p2));
    box.upperBound = b2Max(box.upperBound, b2Max(p1, p2));
  }
  return box;
}

void ParticleSystem::CollectFixtures(const b2AABB& box) {
  fixtures_.clear();
  FixtureCollector collector(&fixtures_);
  world_->QueryAABB(&collector, box);
}

void ParticleSystem::UpdateBodyContacts() {
  bodyContacts_.clear();
  b2AABB box = ParticleBounds(0.0f);
  const b2Vec2 margin(diameter_, diameter_);
  box.lowerBound -= margin;
  box.upperBound += margin;
  CollectFixtures(box);

  const b2Vec2* positions = slotPositions_.data();
  for (b2Fixture* fixture : fixtures_) {
    b2Body* body = fixture->GetBody();
    const b2Transform& xf = body->GetTransform();
    const b2Vec2 center = body->GetWorldCenter();
    const float bodyMass = body->GetMass();
    const float bodyInertia =
        body->GetInertia() - bodyMass * body->GetLocalCenter().LengthSquared();
    const float bodyInverseMass = bodyMass > 0.0f ? 1.0f / bodyMass : 0.0f;
    const float bodyInverseInertia =
        bodyInertia > 0.0f && !body->IsFixedRotation() ? 1.0f / bodyInertia : 0.0f;
    const b2Shape& shape = *fixture->GetShape();
    for (int32_t child = 0; child < shape.GetChildCount(); ++child) {
      const b2AABB& childBox = fixture->GetAABB(child);
      if (!b2TestOverlap(childBox, box)) continue;
      const b2Vec2 lower = childBox.lowerBound - margin;
      const b2Vec2 upper = childBox.upperBound + margin;
      grid_.ForEachNear(childBox, [&](int32_t a) {
        const b2Vec2 p = positions[a];
        if (!IsInside(p, lower, upper)) return;
        float distance;
        b2Vec2 normal;
        ComputeShapeDistance(shape, xf, p, child, &distance, &normal);
        if (!(distance < diameter_)) return;
        const float particleInverseMass =
            slotFlags_[a] & kWallParticle ? 0.0f : particleInverseMass_;
        const float arm = b2Cross(p - center, normal);
        const float inverseMass =
            particleInverseMass + bodyInverseMass + bodyInverseInertia * arm * arm;
        bodyContacts_.push_back({a, body, fixture, 1.0f - distance * inverseDiameter_, -normal,
                                 inverseMass > 0.0f ? 1.0f / inverseMass : 0.0f});
      });
    }
  }
}

// Adds the fixtures' share to the weights the particle contacts gave.
void ParticleSystem::AddBodyContactWeights() {
  float* weights = weights_.data();
  for (const ParticleBodyContact& contact : bodyContacts_) weights[contact.slot] += contact.weight;
}

// A body drags a viscous particle toward its own velocity at that point and feels the opposite
// impulse.
void ParticleSystem::SolveViscousOnBodies() {
  const float strength = def_.viscousStrength;
  b2Vec2* velocities = slotVelocities_.data();
  for (const ParticleBodyContact& contact : bodyContacts_) {
    const int32_t a = contact.slot;
    if (!(slotFlags_[a] & kViscousParticle)) continue;
    b2Body* body = contact.body;
    const b2Vec2 p = slotPositions_[a];
    const b2Vec2 relative = body->GetLinearVelocityFromWorldPoint(p) - velocities[a];
    const b2Vec2 impulse = (strength * contact.mass * contact.weight) * relative;
    velocities[a] += particleInverseMass_ * impulse;
    PushBody(body, -impulse, p);
  }
}

// Pressure grows with a particle's crowding (its total contact weight above one) and pushes
// each pair apart along their normal; fixtures push back in proportion to the contact weight.
// The pushes depend on positions alone, so they are summed by particle here and given to the
// velocities with gravity, after the viscous pass.
void ParticleSystem::SolvePressureOnBodies(float dt) {
  const float criticalVelocity = diameter_ / dt;
  const float criticalPressure = def_.density * criticalVelocity * criticalVelocity;
  const float pressurePerWeight = def_.pressureStrength * criticalPressure;
  const float maxPressure = kMaxParticlePressure * criticalPressure;
  const int32_t count = GetParticleCount();
  const float* weights = weights_.data();
  float* pressures = pressures_.data();
  pressureChanges_.resize(count);
  b2Vec2* pressureChanges = pressureChanges_.data();
  for (int32_t i = 0; i < count; ++i) {
    const float h = pressurePerWeight * std::max(0.0f, weights[i] - kMinParticleWeight);
    pressures[i] = std::min(h, maxPressure);
    pressureChanges[i].SetZero();
  }

  const float velocityPerPressure = dt / (def_.density * diameter_);
  for (const ParticleBodyContact& contact : bodyContacts_) {
    const int32_t a = contact.slot;
    const float h = pressures[a] + pressurePerWeight * contact.weight;
    const b2Vec2 impulse =
        (velocityPerPressure * contact.weight * contact.mass * h) * contact.normal;
    pressureChanges[a] -= particleInverseMass_ * impulse;
    PushBody(contact.body, impulse, slotPositions_[a]);
  }
}

// Cuts the contacts about in half where the halves meet no common particle. The second half
// starts with the first contact of the slot in the middle of the list; the first half ends where
// the contacts of the row below that slot's row begin, since no earlier contact reaches that slot.
// Contacts are grouped by their first slot, in slot order, and the second slot is the larger.
void ParticleSystem::SplitContacts() {
  if (contactCount_ == 0) {
    firstHalfEnd_ = secondHalfBegin_ = 0;
    return;
  }
  const ParticleContact* begin = contacts_.data();
  const ParticleContact* end = begin + contactCount_;
  auto firstContactOf = [&](int32_t slot) {
    return static_cast<int32_t>(
        std::lower_bound(begin, end, slot,
                         [](const ParticleContact& c, int32_t s) { return c.slotA < s; }) -
        begin);
  };
  const int32_t middleSlot = contacts_[contactCount_ / 2].slotA;
  secondHalfBegin_ = firstContactOf(middleSlot);
  firstHalfEnd_ = firstContactOf(grid_.FirstSlotOfRowBelow(middleSlot));
}

// Runs solve over every contact in eight interleaved streams. A large liquid runs the two halves
// at once, the second on the step's worker if there is one, then the seam: the same order
// whichever thread takes which half, so the results never depend on the sharing.
template <typename Solve>
void ParticleSystem::ForEachContactInHalves(const Solve& solve) {
  const ParticleContact* contacts = contacts_.data();
  if (GetParticleCount() < kMinSharedParticles) {
    ForEachContact(contacts, contactCount_, solve);
    return;
  }
  auto secondHalf = [&] {
    ForEachContact(contacts + secondHalfBegin_, contactCount_ - secondHalfBegin_, solve);
  };
  if (stepWorker_ != nullptr) stepWorker_->Run(secondHalf);
  ForEachContact(contacts, firstHalfEnd_, solve);
  if (stepWorker_ != nullptr) {
    stepWorker_->Wait();
  } else {
    secondHalf();
  }
  ForEachContact(contacts + firstHalfEnd_, secondHalfBegin_ - firstHalfEnd_, solve);
}

// One walk over the contacts for two passes: each viscous pair pulls its two velocities toward
// each other, and every pair's pressure push is added to its particles' sums. In a liquid that is
// viscous throughout (a boss's burst) the walk skips reading the pairs' flags.
void ParticleSystem::SolveViscousAndPressure(float dt) {
  if (commonFlags_ & kViscousParticle) {
    SolveViscousAndPressure<true>(dt);
  } else {
    SolveViscousAndPressure<false>(dt);
  }
}

template <bool kEveryPairViscous>
void ParticleSystem::SolveViscousAndPressure(float dt) {
  const float strength = def_.viscousStrength;
  const float velocityPerPressure = dt / (def_.density * diameter_);
  const uint32_t* flags = slotFlags_.data();
  const float* pressures = pressures_.data();
  b2Vec2* velocities = slotVelocities_.data();
  b2Vec2* pressureChanges = pressureChanges_.data();
  ForEachContactInHalves([=](const ParticleContact& contact) {
    const int32_t a = contact.slotA;
    const int32_t b = contact.slotB;
    const float h = pressures[a] + pressures[b];
    const b2Vec2 push = (velocityPerPressure * contact.weight * h) * contact.normal;
    pressureChanges[a] -= push;
    pressureChanges[b] += push;
    if (!kEveryPairViscous && !((flags[a] | flags[b]) & kViscousParticle)) return;
    const b2Vec2 change = (strength * contact.weight) * (velocities[b] - velocities[a]);
    velocities[a] += change;
    velocities[b] -= change;
  });
}

// Gravity, and the pressure pushes summed above.
void ParticleSystem::SolveGravity(float dt) {
  const b2Vec2 change = (dt * def_.gravityScale) * world_->GetGravity();
  b2Vec2* velocities = slotVelocities_.data();
  const b2Vec2* pressureChanges = pressureChanges_.data();
  ForEachHalf(GetParticleCount(), [=](int32_t first, int32_t last) {
    for (int32_t k = first; k < last; ++k)
      velocities[k] = (velocities[k] + change) + pressureChanges[k];
  });
}

// Removes part of the approaching normal speed of every contact: a share growing with the
// contact weight, or with the speed itself for fast impacts, at most half of it.
void ParticleSystem::SolveDamping(float dt) {
  const float linearDamping = def_.dampingStrength;
  const float quadraticDamping = dt / diameter_;  // 1 / critical velocity
  b2Vec2* velocities = slotVelocities_.data();
  for (const ParticleBodyContact& contact : bodyContacts_) {
    const int32_t a = contact.slot;
    b2Body* body = contact.body;
    const b2Vec2 p = slotPositions_[a];
    const b2Vec2 relative = body->GetLinearVelocityFromWorldPoint(p) - velocities[a];
    const float normalSpeed = b2Dot(relative, contact.normal);
    if (!(normalSpeed < 0.0f)) continue;
    const float damping = std::max(linearDamping * contact.weight,
                                   std::min(-quadraticDamping * normalSpeed, kMaxDampingFraction));
    const b2Vec2 impulse = (damping * contact.mass * normalSpeed) * contact.normal;
    velocities[a] += particleInverseMass_ * impulse;
    PushBody(body, -impulse, p);
  }
  ForEachContactInHalves([=](const ParticleContact& contact) {
    const int32_t a = contact.slotA;
    const int32_t b = contact.slotB;
    const b2Vec2 relative = velocities[b] - velocities[a];
    const float normalSpeed = b2Dot(relative, contact.normal);
    // Separating pairs get a zero change rather than a branch.
    const float approachingSpeed = Min(normalSpeed, 0.0f);
    const float damping = Max(linearDamping * contact.weight,
                              Min(-quadraticDamping * approachingSpeed, kMaxDampingFraction));
    const b2Vec2 change = (damping * approachingSpeed) * contact.normal;
    velocities[a] += change;
    velocities[b] -= change;
  });
}

// No particle moves more than a diameter in a step.
void ParticleSystem::LimitVelocity(float dt) {
  const float criticalVelocity = diameter_ / dt;
  const float limitSquared = criticalVelocity * criticalVelocity;
  b2Vec2* velocities = slotVelocities_.data();
  ForEachHalf(GetParticleCount(), [=](int32_t first, int32_t last) {
    for (int32_t k = first; k < last; ++k) {
      b2Vec2& v = velocities[k];
      const float speedSquared = b2Dot(v, v);
      if (speedSquared > limitSquared) v *= std::sqrt(limitSquared / speedSquared);
    }
  });
}

// Stops every particle whose next move would cross into a fixture just in front of its surface.
// On the first sub-step the move is cast from where the particle would be had it moved with the
// body over the rigid step just taken (the body's previous pose is recovered from its velocity),
// so a body that moved into the liquid sweeps it along instead of swallowing it. The velocity a
// fixture takes away comes back as a force at the start of the next sub-step: a particle that
// lands keeps pressing on its neighbours, which is what spreads the liquid along a ledge and
// carries it over the ends.
void ParticleSystem::SolveCollision(float dt, float rigidDt) {
  CollectFixtures(ParticleBounds(dt));
  const float inverseDt = 1.0f / dt;
  const b2Vec2* positions = slotPositions_.data();
  b2Vec2* velocities = slotVelocities_.data();
  for (b2Fixture* fixture : fixtures_) {
    b2Body* body = fixture->GetBody();
    const b2Transform& xf = body->GetTransform();
    const b2Vec2 localCenter = body->GetLocalCenter();
    const bool circle = fixture->GetShape()->GetType() == b2Shape::e_circle;
    const b2Vec2 bodyVelocity = body->GetLinearVelocity();
    const float bodySpin = body->GetAngularVelocity();
    const bool carried = rigidDt > 0.0f && body->GetType() != b2_staticBody &&
                         (bodyVelocity.x != 0.0f || bodyVelocity.y != 0.0f || bodySpin != 0.0f);
    b2Transform xf0 = xf;
    if (carried) {
      xf0.q.Set(body->GetAngle() - rigidDt * bodySpin);
      xf0.p = body->GetWorldCenter() - rigidDt * bodyVelocity - b2Mul(xf0.q, localCenter);
    }
    const int32_t childCount = fixture->GetShape()->GetChildCount();
    for (int32_t child = 0; child < childCount; ++child) {
      const b2AABB& childBox = fixture->GetAABB(child);
      grid_.ForEachNear(childBox, [&](int32_t a) {
        const b2Vec2 p = positions[a];
        b2RayCastInput input;
        input.p1 = carried ? CarryWithBody(p, xf0, xf, localCenter, circle) : p;
        input.p2 = p + dt * velocities[a];
        input.maxFraction = 1.0f;
        b2AABB segment;
        segment.lowerBound = b2Min(input.p1, input.p2);
        segment.upperBound = b2Max(input.p1, input.p2);
        if (!b2TestOverlap(segment, childBox)) return;
        b2RayCastOutput output;
        if (!fixture->RayCast(&output, input, child)) return;
        const b2Vec2 stop = (1.0f - output.fraction) * input.p1 + output.fraction * input.p2 +
                            b2_linearSlop * output.normal;
        const b2Vec2 stopped = inverseDt * (stop - p);
        AddReaction(a, (particleMass_ * inverseDt) * (velocities[a] - stopped));
        velocities[a] = stopped;
      });
    }
  }
}

// Kept by particle, since the particles are sorted afresh before it is given back. Wall
// particles never move, so they take no force.
void ParticleSystem::AddReaction(int32_t slot, const b2Vec2& force) {
  if (slotFlags_[slot] & kWallParticle) return;
  if (!hasReaction_) {
    reactions_.assign(positions_.size(), b2Vec2_zero);
    hasReaction_ = true;
  }
  reactions_[grid_.SortedIndices()[slot]] += force;
}

void ParticleSystem::SolveWall() {
  const int32_t count = GetParticleCount();
  for (int32_t i = 0; i < count; ++i) {
    if (slotFlags_[i] & kWallParticle) slotVelocities_[i].SetZero();
  }
}
