#include "actors/player_entity.h"

#include <algorithm>

#include "actors/fixture_counter.h"
#include "actors/level_bounds.h"
#include "actors/weapon_bare_hand.h"
#include "actors/weapon_heavy.h"
#include "actors/weapon_light.h"
#include "app/app_context.h"
#include "app/input.h"
#include "arena/area_box.h"
#include "arena/arena.h"
#include "graphics/sprite.h"
#include "media/asset_registry.h"
#include "media/sound_playback.h"
#include "physics/particle_system.h"

namespace {

// The hero's box, in body coordinates, on either side of the centre line.
constexpr float kHalfWidth = 0.1f;    // m
constexpr float kSkinRadius = 0.01f;  // m
constexpr float kDensity = 1.0f;      // kg/m²
constexpr float kFriction = 0.0f;

constexpr const char* kStandingPicture = "serval_cat_stand";
constexpr int kSpriteCentreX = 256;  // px
constexpr int kSpriteCentreY = 384;  // px
constexpr double kSpriteScale = 0.5;

constexpr double kFallPenalty = 200.0;  // health a fall out of the level costs

// Half the side of the box under the feet that looks for ground.
constexpr float kGroundProbe = 0.05f;  // m
// The box around the hero that drinks liquid: this far to either side and below the feet, and up
// to this height above them.
constexpr float kDrinkReach = 0.3f;   // m
constexpr float kDrinkHeight = 1.5f;  // m
constexpr double kHealthPerDrop = 5.0;

constexpr float kWalkSpeed = 1.5f;      // m/s
constexpr float kRunExtraSpeed = 1.0f;  // m/s
constexpr double kRunCostPerFrame = 1.0;
constexpr float kDodgeSpeed = 3.6f;  // m/s, backwards and upwards
constexpr float kJumpSpeed = 5.0f;   // m/s, upwards

// A strike's box starts this far off the hero's centre line.
constexpr float kStrikeGap = 0.1f;  // m

// Knock-back impulse per unit of a hit's knock-back, away from the attacker and upwards.
constexpr float kKnockbackAway = 0.8f;
constexpr float kKnockbackUp = 0.6f;

// The camera keeps the centre line half a view's width (in whole metres) from the left edge and
// the feet a fifth of the view's height above the bottom.
constexpr int kViewWidthMetres = SCREEN_WIDTH / static_cast<int>(PIXELS_PER_METRE);
constexpr int kViewHeightMetres = SCREEN_HEIGHT / static_cast<int>(PIXELS_PER_METRE);
constexpr float kCameraLeadX = kViewWidthMetres * 0.5f;   // m
constexpr float kCameraLiftY = kViewHeightMetres * 0.2f;  // m

// A walk cycle shows step, stand, step, stand, each for a quarter of the cycle.
constexpr int32_t kWalkQuarterFrames = 20;
constexpr int32_t kRunQuarterFrames = 10;
constexpr int32_t kQuartersPerCycle = 4;

// By WeaponIndex.
constexpr SDL_Scancode kWeaponKeys[] = {SDL_SCANCODE_1, SDL_SCANCODE_2, SDL_SCANCODE_3};

// A fresh weapon by its WeaponIndex.
std::unique_ptr<WeaponWrapper> makeWeapon(int32_t index) {
  switch (index) {
    case WEAPON_LIGHT:
      return std::make_unique<WeaponLight>();
    case WEAPON_HEAVY:
      return std::make_unique<WeaponHeavy>();
    default:
      return std::make_unique<WeaponBareHand>();
  }
}

// Ground is whatever has a record that is neither the hero nor a wall: terrain, foes, the boss.
bool countsAsGround(const b2Fixture* fixture) {
  const FixtureContainer* record = FixtureContainer::of(fixture);
  return record != nullptr && record->tag != TAG_PLAYER && record->tag != TAG_NONE;
}

// The body whose user data is `entity`, or null when it has none in `physics`.
const b2Body* bodyOf(b2World* physics, const Entity* entity) {
  for (b2Body* body = physics->GetBodyList(); body != nullptr; body = body->GetNext()) {
    if (Entity::of(body) == entity) return body;
  }
  return nullptr;
}

const char* walkCyclePicture(int32_t frame, bool running) {
  const int32_t quarter =
      (frame / (running ? kRunQuarterFrames : kWalkQuarterFrames)) % kQuartersPerCycle;
  if (quarter == 0) return running ? "serval_cat_run_1" : "serval_cat_step_1";
  if (quarter == 2) return running ? "serval_cat_run_2" : "serval_cat_step_2";
  return kStandingPicture;
}

}  // namespace

PlayerEntity::PlayerContainer::PlayerContainer(Arena* world, b2Body* body, const b2FixtureDef* def)
    : FixtureContainer(world, body, def) {
  setUpSprite(kStandingPicture, kSpriteCentreX, kSpriteCentreY, kSpriteScale);
}

void PlayerEntity::PlayerContainer::syncSprite() {
  sprite->setBitmap(AssetRegistry::instance()->bitmap(owner->frameName()), false);
  placeSpriteAt(owner->centreX(), owner->feetY());
}

PlayerEntity::PlayerEntity(Arena* world)
    : Entity(world, KIND_PLAYER), weapon_(std::make_unique<WeaponBareHand>()), body_(nullptr) {
  createBody();
}

PlayerEntity::~PlayerEntity() {
  // The record goes first: it destroys its fixture on the body.
  container_.reset();
  weapon_.reset();
  world->getWorld()->DestroyBody(body_);
}

void PlayerEntity::createBody() {
  b2BodyDef bodyDef;
  bodyDef.type = b2_dynamicBody;
  bodyDef.fixedRotation = true;
  ownBodiesOf(bodyDef);
  body_ = world->getWorld()->CreateBody(&bodyDef);

  const b2Vec2 corners[] = {{kCentreLineOffset - kHalfWidth, 0.0f},
                            {kCentreLineOffset + kHalfWidth, 0.0f},
                            {kCentreLineOffset + kHalfWidth, kHeight},
                            {kCentreLineOffset - kHalfWidth, kHeight}};
  b2PolygonShape shape;
  shape.Set(corners, 4);
  shape.m_radius = kSkinRadius;

  const b2FixtureDef fixtureDef =
      FixtureContainer::solidFixture(shape, kFriction, kDensity, kActorCategory, kCollidesWithAll);
  container_ = std::make_unique<PlayerContainer>(world, body_, &fixtureDef);
  container_->tag = TAG_PLAYER;
  container_->owner = this;
}

float PlayerEntity::centreX() const {
  return body_->GetPosition().x + kCentreLineOffset;
}

float PlayerEntity::feetY() const {
  return body_->GetPosition().y;
}

void PlayerEntity::update() {
  recoverFromFall();
  const bool onGround = standsOnGround();
  updateGroundState(onGround);
  drinkLiquid();
  readMouse();
  releaseWeaponKeyLatch();
  if (attack_.phase != 0) {
    continueAttack(onGround);
  } else {
    chooseWeapon();
    walk(onGround);
    dodge(onGround);
    jump(onGround);
  }
  payForRunning();
  followWithCamera();
}

void PlayerEntity::recoverFromFall() {
  if (feetY() >= kFallLimitY) return;
  addHealth(-kFallPenalty);
  playSound(AssetRegistry::instance()->sound("damage"), false, 0, -1, EFFECT_LEVEL);
  body_->SetTransform(world->respawnPoint(), 0.0f);
}

bool PlayerEntity::standsOnGround() {
  const float x = centreX();
  const float y = feetY();
  FixtureCounter counter;
  world->queryArea(counter,
                   areaBox(x - kGroundProbe, y - kGroundProbe, x + kGroundProbe, y + kGroundProbe));
  const b2Vec2 probes[] = {{x, y - kGroundProbe},
                           {x - kGroundProbe, y - kGroundProbe},
                           {x + kGroundProbe, y - kGroundProbe}};
  for (const b2Fixture* fixture : counter.fixtures) {
    if (!countsAsGround(fixture)) continue;
    for (const b2Vec2& probe : probes) {
      if (fixture->TestPoint(probe)) return true;
    }
  }
  return false;
}

void PlayerEntity::updateGroundState(bool onGround) {
  if (!onGround) {
    if (airborne_) return;
    logPrint("Flying!%d\n", jumping_ ? 1 : 0);
    airborne_ = true;
    return;
  }
  if (airborne_) {
    logPrint("Landed\n");
    airborne_ = jumping_ = spawnFall_ = doubleJumped_ = staggered_ = false;
  }
  // A dodge or a blow that did not lift the hero off the ground ends here.
  if (staggered_) {
    logPrint("Fixing dodge...\n");
    staggered_ = false;
  }
}

void PlayerEntity::drinkLiquid() {
  const float x = centreX();
  const float y = feetY();
  FixtureCounter counter;
  world->queryArea(counter,
                   areaBox(x - kDrinkReach, y - kDrinkReach, x + kDrinkReach, y + kDrinkHeight));
  for (int32_t particle : counter.particleIndices) {
    world->liquid().DestroyParticle(particle);
    addHealth(kHealthPerDrop);
  }
}

void PlayerEntity::readMouse() {
  const Uint32 buttons = mouseButtons();
  running_ = (buttons & SDL_BUTTON_RMASK) != 0;
  if ((buttons & SDL_BUTTON_LMASK) == 0) {
    attackButtonHeld_ = false;
    return;
  }
  if (attackButtonHeld_) return;
  attackButtonHeld_ = true;
  if (attack_.phase != 0) {
    attack_.comboQueued = true;
  } else {
    attack_.phase = 1;
  }
}

void PlayerEntity::releaseWeaponKeyLatch() {
  const bool anyWeaponKey = std::any_of(std::begin(kWeaponKeys), std::end(kWeaponKeys),
                                        [](SDL_Scancode key) { return isKeyDown(key); });
  if (attack_.phase != 0 || !anyWeaponKey) weaponKeyHeld_ = false;
}

void PlayerEntity::continueAttack(bool onGround) {
  if (onGround) {
    weapon_->step(*this);
    return;
  }
  // Leaving the ground breaks the attack off; a queued second blow stays queued.
  attack_.phase = 0;
  attack_.phaseFrame = 0;
  stopAttackSound(0);
}

void PlayerEntity::chooseWeapon() {
  if (weaponKeyHeld_) return;
  for (int32_t index = 0; index < static_cast<int32_t>(std::size(kWeaponKeys)); ++index) {
    if (!isKeyDown(kWeaponKeys[index])) continue;
    weapon_ = makeWeapon(index);
    world->notifyHud(WeaponReport{index});
    weaponKeyHeld_ = true;
    return;
  }
}

void PlayerEntity::walk(bool onGround) {
  // No steering in the air while flying from a dodge or a blow.
  if (!onGround && staggered_) return;
  const bool right = isKeyDown(SDL_SCANCODE_D);
  if (!right && !isKeyDown(SDL_SCANCODE_A)) {
    walking_ = false;
    if (onGround) setVelocity(0.0f, body_->GetLinearVelocity().y);
    return;
  }
  const float speed = kWalkSpeed + (running_ ? kRunExtraSpeed : 0.0f);
  setVelocity(right ? speed : -speed, body_->GetLinearVelocity().y);
  container_->sprite->setFlip(right ? SDL_FLIP_NONE : SDL_FLIP_HORIZONTAL);
  facingRight_ = right;
  if (onGround) walking_ = true;
}

void PlayerEntity::dodge(bool onGround) {
  if (!isKeyDown(SDL_SCANCODE_Q)) {
    dodgeKeyHeld_ = false;
    return;
  }
  if (!onGround || dodgeKeyHeld_) return;
  dodgeKeyHeld_ = true;
  staggered_ = true;
  const b2Vec2 velocity = body_->GetLinearVelocity();
  // Always away from where the hero looks.
  setVelocity(velocity.x + (facingRight_ ? -kDodgeSpeed : kDodgeSpeed), velocity.y + kDodgeSpeed);
}

void PlayerEntity::jump(bool onGround) {
  const bool spaceHeld = isKeyDown(SDL_SCANCODE_SPACE);
  if (spaceHeld && jumpKeyReleased_) {
    const b2Vec2 velocity = body_->GetLinearVelocity();
    if (onGround) {
      jumping_ = true;
      spawnFall_ = false;
      walking_ = false;
      setVelocity(velocity.x, velocity.y + kJumpSpeed);
    } else {
      logPrint("Space Detected..\n");
      if (!doubleJumped_) {
        logPrint("Double Jumping!\n");
        spawnFall_ = false;
        doubleJumped_ = true;
        walking_ = false;
        setVelocity(velocity.x, kJumpSpeed);
      }
    }
  }
  jumpKeyReleased_ = !spaceHeld;
}

void PlayerEntity::payForRunning() {
  if (walking_ && running_) addHealth(-kRunCostPerFrame);
}

void PlayerEntity::followWithCamera() {
  world->moveCamera(std::max(0.0f, centreX() - kCameraLeadX),
                    std::max(0.0f, feetY() - kCameraLiftY));
}

void PlayerEntity::setVelocity(float vx, float vy) {
  body_->SetLinearVelocity(b2Vec2(vx, vy));
}

void PlayerEntity::onEvent(const HitMessage& hit) {
  if (hit.attacker == this) return;
  const unsigned int address = static_cast<unsigned int>(reinterpret_cast<uintptr_t>(&hit));
  logPrint("%x %x\n", address, address);
  logPrint("Player hurt! %lf %lf\n", hit.damage, hit.knockback);
  addHealth(-hit.damage);
  if (hit.attacker == nullptr) return;
  if (hit.attacker->kind != KIND_ENEMY && hit.attacker->kind != KIND_BOSS) return;
  const b2Body* attackerBody = bodyOf(world->getWorld(), hit.attacker);
  if (attackerBody == nullptr) return;

  const bool attackerOnLeft = body_->GetPosition().x > attackerBody->GetPosition().x;
  facingRight_ = !attackerOnLeft;
  setVelocity(0.0f, 0.0f);
  // An attacking hero stands its ground.
  if (attack_.phase != 0) return;
  const float knockback = static_cast<float>(hit.knockback);
  const float away = attackerOnLeft ? kKnockbackAway : -kKnockbackAway;
  body_->ApplyLinearImpulse(b2Vec2(away * knockback, kKnockbackUp * knockback), b2Vec2(1.0f, 0.0f),
                            true);
  staggered_ = true;
}

double PlayerEntity::addHealth(double delta) {
  health_ += delta;
  world->notifyHud(HealthReport{health_});
  return health_;
}

std::string PlayerEntity::frameName() {
  std::string name = kStandingPicture;
  if (walking_) {
    name = walkCyclePicture(walkFrameCounter_, running_);
    ++walkFrameCounter_;
  } else {
    walkFrameCounter_ = 0;
  }
  if (jumping_) name = "serval_cat_jump";
  if ((staggered_ || spawnFall_) && !doubleJumped_) name = "serval_cat_dodge";
  if (attack_.phase != 0) weapon_->frameName(attack_, name);
  return name;
}

void PlayerEntity::stopAttackSound(int fadeMs) {
  if (attackSoundChannel_ < 0) return;
  fadeOutChannel(attackSoundChannel_, fadeMs);
  attackSoundChannel_ = -1;
}

void PlayerEntity::pushForward(float speed) {
  setVelocity(facingRight_ ? speed : -speed, body_->GetLinearVelocity().y);
}

void PlayerEntity::stop() {
  setVelocity(0.0f, body_->GetLinearVelocity().y);
}

void PlayerEntity::pay(double cost) {
  if (cost > 0.0) addHealth(-cost);
}

void PlayerEntity::strike(const Strike& blow) {
  const b2Vec2 feet = body_->GetPosition();
  const bool towardsRight = facingRight_ != blow.behind;
  const float direction = towardsRight ? 1.0f : -1.0f;
  const float nearEdge = feet.x + kCentreLineOffset + kStrikeGap * direction;
  const float farEdge = nearEdge + blow.reach * direction;
  const b2AABB box =
      areaBox(std::min(nearEdge, farEdge), feet.y, std::max(nearEdge, farEdge), feet.y + kHeight);
  HitMessage hit{this, blow.damage, blow.knockback};
  world->sendToArea(box, hit);
}

void PlayerEntity::playAttackSound(const char* name) {
  attackSoundChannel_ =
      playSound(AssetRegistry::instance()->sound(name), false, 0, -1, EFFECT_LEVEL);
}

const TarnwickApp::Sprite& PlayerEntity::sprite() const {
  return *container_->sprite;
}
