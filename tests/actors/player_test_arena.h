#pragma once

// A playground for the hero: a world without a stage, one long floor whose top is at y = 0, the
// hero landed on it, and scripted input. Also a stand-in foe that records every blow it takes.

#include <box2d/box2d.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "actors/entity.h"
#include "actors/fixture_container.h"
#include "arena/area_box.h"
#include "support/frame_script.h"
#include "support/game_test.h"

class PlayerEntity;
class WorldContainer;

// A still box (a sensor, so that nothing bumps into it) that counts the hits reaching it.
class HitRecorder : public Entity {
 public:
  HitRecorder(WorldContainer* world, b2AABB box, EntityKind entityKind);
  ~HitRecorder() override;

  void update() override {}
  using Entity::onEvent;
  void onEvent(const HitMessage& hit) override;

  std::vector<HitMessage> hits;
  b2Body* body;
  FixtureContainer* container;
};

class PlayerArena : public GameTest {
 protected:
  static constexpr float kStartCentreX = 3.0f;  // m

  void SetUp() override;
  void TearDown() override;

  // A block of terrain owned by the world.
  FixtureContainer* addBlock(b2AABB box, int32_t tag);
  void removeBlock(FixtureContainer* block);
  // A recorder of the given kind, owned by the world.
  HitRecorder* addRecorder(b2AABB box, EntityKind entityKind = KIND_ENEMY);
  // Puts the hero's feet at (centreX, feetY) and lets it fall to rest on whatever is below.
  void placeHero(float centreX, float feetY = 0.1f);

  void play(int frames = 1) { script.play(*world, frames); }
  // Plays one frame with `key` held; it is up again from the next frame on.
  void press(SDL_Scancode key);
  // Plays one frame with the left button down; it is up again from the next frame on.
  void click();
  // Draws the world and names the picture the hero's sprite shows.
  std::string shownPicture();

  // What an attack looked like, frame by frame from the click (frame 1) to rest.
  struct AttackTrace {
    int frames = 0;
    double cost = 0.0;                        // health spent
    std::vector<std::string> pictures;        // shown after each frame
    std::vector<std::vector<int>> hitFrames;  // per target, the frames that brought it a hit
  };
  // Clicks (and clicks again at `secondClickFrame`, if any) and plays until the attack is over.
  AttackTrace attack(const std::vector<HitRecorder*>& targets = {}, int secondClickFrame = 0);

  float heroCentreX() const;
  float heroFeetY() const;
  b2Vec2 heroVelocity() const;

  WorldContainer* world = nullptr;
  PlayerEntity* player = nullptr;
  FrameScript script;
};

// `frames` times each picture, in order.
std::vector<std::string> pictureRun(std::initializer_list<std::pair<int, const char*>> stretches);

// The hero's own log lines about leaving and touching the ground, jumping and dodging, in order.
std::vector<std::string> movementLog(const std::string& captured);
