#include "actors/foe_entity.h"

#include "actors/fixture_container.h"
#include "actors/player_entity.h"
#include "arena/area_box.h"
#include "arena/arena.h"
#include "media/asset_registry.h"
#include "media/sound_playback.h"
#include "physics/particle_group_def.h"
#include "physics/particle_system.h"

namespace {

// The upward strike's box, from the body origin: a strip 0.4 wide on the centre line.
constexpr float kCentreLineOffset = 1.0f;  // m right of the origin
constexpr float kStrikeHalfWidth = 0.2f;   // m
constexpr float kStrikeBottom = 1.0f;      // m above the origin
constexpr float kStrikeTop = 1.6f;         // m above the origin
constexpr double kTouchKnockback = 1.0;    // impulse scale of touches and strikes
constexpr float kLiquidLifetime = 20.0f;   // s, 400 frames

int32_t tagOf(const b2Fixture* fixture) {
  const FixtureContainer* container = FixtureContainer::of(fixture);
  return container != nullptr ? container->tag : TAG_NONE;
}

void playHurtSound() {
  playSound(AssetRegistry::instance()->sound("damage"), false, 0, -1, EFFECT_LEVEL);
}

}  // namespace

FoeEntity::FoeEntity(Arena* world, EntityKind kind, int32_t health, TouchHarm touchHarm)
    : Entity(world, kind), health(health), body(nullptr), touchHarm_(touchHarm) {
  b2BodyDef def;
  def.type = b2_dynamicBody;
  def.fixedRotation = true;
  ownBodiesOf(def);
  body = world->getWorld()->CreateBody(&def);
}

void FoeEntity::onEvent(const HitMessage& hit) {
  // Only the player's blows hurt: foes strike into boxes they stand in themselves.
  if (hit.attacker != &world->player()) return;
  loseHealth(hit.damage, hit.knockback);
}

void FoeEntity::onEvent(const ContactBegan& touch) {
  answerTouch(touch.contact);
}

void FoeEntity::beFelled(double damage) {
  loseHealth(damage, 0.0);
}

SDL_RendererFlip FoeEntity::spriteFlip() const {
  return facingRight ? SDL_FLIP_NONE : SDL_FLIP_HORIZONTAL;
}

void FoeEntity::loseHealth(double damage, double knockback) {
  health = static_cast<int32_t>(health - damage);
  playHurtSound();
  recoil(knockback);
}

void FoeEntity::answerTouch(b2Contact* contact) {
  b2Fixture* a = contact->GetFixtureA();
  b2Fixture* b = contact->GetFixtureB();
  b2Fixture* playerSide = tagOf(a) == TAG_PLAYER ? a : (tagOf(b) == TAG_PLAYER ? b : nullptr);
  if (playerSide != nullptr) {
    HitMessage hit{this, touchHarm_.onPlayer, kTouchKnockback};
    Entity::of(playerSide->GetBody())->onEvent(hit);
  }
  if (tagOf(a) == TAG_GROUND || tagOf(b) == TAG_GROUND) strikeUpward(touchHarm_.groundStrike);
}

void FoeEntity::strikeUpward(double damage) {
  const b2Vec2 at = body->GetPosition();
  const float centreX = at.x + kCentreLineOffset;
  const b2AABB box = areaBox(centreX - kStrikeHalfWidth, at.y + kStrikeBottom,
                             centreX + kStrikeHalfWidth, at.y + kStrikeTop);
  HitMessage hit{this, damage, kTouchKnockback};
  world->sendToArea(box, hit);
}

b2CircleShape FoeEntity::discShape(float radius, const b2Vec2& centre) {
  b2CircleShape disc;
  disc.m_radius = radius;
  disc.m_p = centre;
  return disc;
}

b2FixtureDef FoeEntity::discFixture(const b2CircleShape& disc, float friction, float density,
                                    uint16_t mask) {
  return FixtureContainer::solidFixture(disc, friction, density, kActorCategory, mask);
}

void FoeEntity::burstIntoLiquid(float radius, const b2Vec2& centre) {
  const b2CircleShape blob = discShape(radius, centre);
  ParticleGroupDef def;
  def.flags = kViscousParticle;
  def.position = body->GetPosition();
  def.shape = &blob;
  def.lifetime = kLiquidLifetime;
  world->liquid().CreateParticleGroup(def);
}

void FoeEntity::releaseBody() {
  if (body != nullptr) world->getWorld()->DestroyBody(body);
  body = nullptr;
  leaveWorld();
}
