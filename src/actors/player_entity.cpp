#include "actors/player_entity.h"

#include <algorithm>

#include "actors/fixture_counter.h"
#include "actors/level_bounds.h"
#include "actors/weapon_bare_hand.h"
#include "actors/weapon_heavy.h"
#include "actors/weapon_light.h"
#include "app/app_context.h"
#include "app/input.h"
#include "graphics/sprite.h"
#include "media/asset_registry.h"
#include "media/sound_playback.h"
#include "physics/particle_system.h"
#include "world/area_box.h"
#include "world/world_container.h"

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

int32_t PlayerEntity::walkFrameCounter = 0;

PlayerEntity::PlayerContainer::PlayerContainer(WorldContainer* world, b2Body* body,
                                               const b2FixtureDef* def)
    : FixtureContainer(world, body, def) {
  setUpSprite(kStandingPicture, kSpriteCentreX, kSpriteCentreY, kSpriteScale);
}

void PlayerEntity::PlayerContainer::syncSprite() {
  sprite->setBitmap(AssetRegistry::instance()->bitmap(owner->frameName()), false);
  placeSpriteAt(owner->centreX(), owner->feetY());
}

PlayerEntity::PlayerEntity(WorldContainer* world)
    : Entity(world), weapon(std::make_unique<WeaponBareHand>()), body(nullptr) {
  kind = KIND_PLAYER;
  createBody();
}

PlayerEntity::~PlayerEntity() {
  // The record goes first: it destroys its fixture on the body.
  container.reset();
  weapon.reset();
  world->getWorld()->DestroyBody(body);
}

void PlayerEntity::createBody() {
  b2BodyDef bodyDef;
  bodyDef.type = b2_dynamicBody;
  bodyDef.fixedRotation = true;
  ownBodiesOf(bodyDef);
  body = world->getWorld()->CreateBody(&bodyDef);

  const b2Vec2 corners[] = {{kCentreLineOffset - kHalfWidth, 0.0f},
                            {kCentreLineOffset + kHalfWidth, 0.0f},
                            {kCentreLineOffset + kHalfWidth, kHeight},
                            {kCentreLineOffset - kHalfWidth, kHeight}};
  b2PolygonShape shape;
  shape.Set(corners, 4);
  shape.m_radius = kSkinRadius;

  const b2FixtureDef fixtureDef =
      FixtureContainer::solidFixture(shape, kFriction, kDensity, kActorCategory, kCollidesWithAll);
  container = std::make_unique<PlayerContainer>(world, body, &fixtureDef);
  container->tag = TAG_PLAYER;
  container->owner = this;
}

float PlayerEntity::centreX() const {
  return body->GetPosition().x + kCentreLineOffset;
}

float PlayerEntity::feetY() const {
  return body->GetPosition().y;
}

void PlayerEntity::update() {
  recoverFromFall();
  const bool onGround = standsOnGround();
  updateGroundState(onGround);
  drinkLiquid();
  readMouse();
  releaseWeaponKeyLatch();
  if (attackPhase != 0) {
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
  body->SetTransform(world->respawnPoint, 0.0f);
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
    if (airborne) return;
    logPrint("Flying!%d\n", jumping ? 1 : 0);
    airborne = true;
    return;
  }
  if (airborne) {
    logPrint("Landed\n");
    airborne = jumping = spawnFall = doubleJumped = staggered = false;
  }
  // A dodge or a blow that did not lift the hero off the ground ends here.
  if (staggered) {
    logPrint("Fixing dodge...\n");
    staggered = false;
  }
}

void PlayerEntity::drinkLiquid() {
  const float x = centreX();
  const float y = feetY();
  FixtureCounter counter;
  world->queryArea(counter,
                   areaBox(x - kDrinkReach, y - kDrinkReach, x + kDrinkReach, y + kDrinkHeight));
  for (int32_t particle : counter.particleIndices) {
    world->particleSystem->DestroyParticle(particle);
    addHealth(kHealthPerDrop);
  }
}

void PlayerEntity::readMouse() {
  const Uint32 buttons = mouseButtons();
  running = (buttons & SDL_BUTTON_RMASK) != 0;
  if ((buttons & SDL_BUTTON_LMASK) == 0) {
    attackButtonHeld = false;
    return;
  }
  if (attackButtonHeld) return;
  attackButtonHeld = true;
  if (attackPhase != 0) {
    comboQueued = true;
  } else {
    attackPhase = 1;
  }
}

void PlayerEntity::releaseWeaponKeyLatch() {
  const bool anyWeaponKey = std::any_of(std::begin(kWeaponKeys), std::end(kWeaponKeys),
                                        [](SDL_Scancode key) { return isKeyDown(key); });
  if (attackPhase != 0 || !anyWeaponKey) weaponKeyHeld = false;
}

void PlayerEntity::continueAttack(bool onGround) {
  if (onGround) {
    weapon->step(*this);
    return;
  }
  // Leaving the ground breaks the attack off; a queued second blow stays queued.
  attackPhase = 0;
  phaseFrame = 0;
  stopAttackSound(0);
}

void PlayerEntity::chooseWeapon() {
  if (weaponKeyHeld) return;
  for (int32_t index = 0; index < static_cast<int32_t>(std::size(kWeaponKeys)); ++index) {
    if (!isKeyDown(kWeaponKeys[index])) continue;
    weapon = makeWeapon(index);
    world->notifyHud(EVENT_WEAPON, &index);
    weaponKeyHeld = true;
    return;
  }
}

void PlayerEntity::walk(bool onGround) {
  // No steering in the air while flying from a dodge or a blow.
  if (!onGround && staggered) return;
  const bool right = isKeyDown(SDL_SCANCODE_D);
  if (!right && !isKeyDown(SDL_SCANCODE_A)) {
    walking = false;
    if (onGround) setVelocity(0.0f, body->GetLinearVelocity().y);
    return;
  }
  const float speed = kWalkSpeed + (running ? kRunExtraSpeed : 0.0f);
  setVelocity(right ? speed : -speed, body->GetLinearVelocity().y);
  container->sprite->setFlip(right ? SDL_FLIP_NONE : SDL_FLIP_HORIZONTAL);
  facingRight = right;
  if (onGround) walking = true;
}

void PlayerEntity::dodge(bool onGround) {
  if (!isKeyDown(SDL_SCANCODE_Q)) {
    dodgeKeyHeld = false;
    return;
  }
  if (!onGround || dodgeKeyHeld) return;
  dodgeKeyHeld = true;
  staggered = true;
  const b2Vec2 velocity = body->GetLinearVelocity();
  // Always away from where the hero looks.
  setVelocity(velocity.x + (facingRight ? -kDodgeSpeed : kDodgeSpeed), velocity.y + kDodgeSpeed);
}

void PlayerEntity::jump(bool onGround) {
  const bool spaceHeld = isKeyDown(SDL_SCANCODE_SPACE);
  if (spaceHeld && jumpKeyReleased) {
    const b2Vec2 velocity = body->GetLinearVelocity();
    if (onGround) {
      jumping = true;
      spawnFall = false;
      walking = false;
      setVelocity(velocity.x, velocity.y + kJumpSpeed);
    } else {
      logPrint("Space Detected..\n");
      if (!doubleJumped) {
        logPrint("Double Jumping!\n");
        spawnFall = false;
        doubleJumped = true;
        walking = false;
        setVelocity(velocity.x, kJumpSpeed);
      }
    }
  }
  jumpKeyReleased = !spaceHeld;
}

void PlayerEntity::payForRunning() {
  if (walking && running) addHealth(-kRunCostPerFrame);
}

void PlayerEntity::followWithCamera() {
  world->cameraX = std::max(0.0f, centreX() - kCameraLeadX);
  world->cameraY = std::max(0.0f, feetY() - kCameraLiftY);
}

void PlayerEntity::setVelocity(float vx, float vy) {
  body->SetLinearVelocity(b2Vec2(vx, vy));
}

int PlayerEntity::onEvent(int32_t kind, void* data) {
  if (kind != EVENT_HIT) return 0;
  const HitMessage* hit = static_cast<const HitMessage*>(data);
  if (hit->attacker == this) return 0;
  const unsigned int address = static_cast<unsigned int>(reinterpret_cast<uintptr_t>(data));
  logPrint("%x %x\n", address, address);
  logPrint("Player hurt! %lf %lf\n", hit->damage, hit->knockback);
  addHealth(-hit->damage);
  if (hit->attacker == nullptr) return 0;
  if (hit->attacker->kind != KIND_ENEMY && hit->attacker->kind != KIND_BOSS) return 0;
  const b2Body* attackerBody = bodyOf(world->getWorld(), hit->attacker);
  if (attackerBody == nullptr) return 0;

  const bool attackerOnLeft = body->GetPosition().x > attackerBody->GetPosition().x;
  facingRight = !attackerOnLeft;
  setVelocity(0.0f, 0.0f);
  // An attacking hero stands its ground.
  if (attackPhase != 0) return 0;
  const float knockback = static_cast<float>(hit->knockback);
  const float away = attackerOnLeft ? kKnockbackAway : -kKnockbackAway;
  body->ApplyLinearImpulse(b2Vec2(away * knockback, kKnockbackUp * knockback), b2Vec2(1.0f, 0.0f),
                           true);
  staggered = true;
  return 0;
}

double PlayerEntity::addHealth(double delta) {
  health += delta;
  world->notifyHud(EVENT_HEALTH, &health);
  return health;
}

std::string PlayerEntity::frameName() {
  std::string name = kStandingPicture;
  if (walking) {
    name = walkCyclePicture(walkFrameCounter, running);
    ++walkFrameCounter;
  } else {
    walkFrameCounter = 0;
  }
  if (jumping) name = "serval_cat_jump";
  if ((staggered || spawnFall) && !doubleJumped) name = "serval_cat_dodge";
  if (attackPhase != 0) weapon->frameName(*this, name);
  return name;
}

void PlayerEntity::stopAttackSound(int fadeMs) {
  if (attackSoundChannel < 0) return;
  fadeOutChannel(attackSoundChannel, fadeMs);
  attackSoundChannel = -1;
}
