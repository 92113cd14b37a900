#include "world/world_container.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "actors/enemy_entity.h"
#include "actors/fixture_container.h"
#include "actors/fixture_counter.h"
#include "actors/player_entity.h"
#include "app/app_context.h"
#include "app/screen_frames.h"
#include "arena/area_box.h"
#include "graphics/bitmap.h"
#include "scenes/scene_map.h"
#include "support/frame_script.h"
#include "support/game_test.h"
#include "support/log_capture.h"
#include "support/test_assets.h"

namespace {

// An entity with a body of its own that records the events it receives.
class Listener : public Entity {
 public:
  Listener(WorldContainer* world, b2Vec2 at, bool dynamic) : Entity(world, KIND_ENEMY) {
    b2BodyDef def;
    def.type = dynamic ? b2_dynamicBody : b2_staticBody;
    def.position = at;
    ownBodiesOf(def);
    body = world->getWorld()->CreateBody(&def);
    b2PolygonShape shape;
    shape.SetAsBox(0.2f, 0.2f);
    body->CreateFixture(&shape, 1.0f);
  }
  ~Listener() override { world->getWorld()->DestroyBody(body); }
  void update() override { ++updates; }
  void onEvent(const HitMessage&) override { events.push_back("hit"); }
  void onEvent(const ContactBegan&) override { events.push_back("contact began"); }
  void onEvent(const ContactEnded&) override { events.push_back("contact ended"); }
  b2Body* body;
  std::vector<std::string> events;
  int updates = 0;
};

class WorldTest : public GameTest {
 protected:
  void TearDown() override {
    {
      const LogCapture quiet;
      delete world;
    }
    GameTest::TearDown();
  }
  void build(int stage) {
    const LogCapture capture;
    world = new WorldContainer(stage);
    buildLog = capture.text();
  }
  void moveHeroTo(float x, float y) { world->player().body()->SetTransform(b2Vec2(x, y), 0.0f); }
  // The world owns these entities from now on, as it owns its foes.
  void handOver(std::initializer_list<Entity*> owned) {
    for (Entity* entity : owned) world->adopt(std::unique_ptr<Entity>(entity));
  }

  WorldContainer* world = nullptr;
  std::string buildLog;
  FrameScript script;
};

bool sameColour(SDL_Color a, SDL_Color b, int tolerance = 0) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

std::string describe(SDL_Color c) {
  return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ")";
}

// Terrain boxes logged: a line of four corners in metres, then one of the screen position.
size_t terrainBoxesLogged(const std::string& log) {
  static const std::regex pair(R"((-?\d+\.\d{6} ){3}-?\d+\.\d{6}\n-?\d+ -?\d+\n)");
  return std::distance(std::sregex_iterator(log.begin(), log.end(), pair), std::sregex_iterator());
}

TEST_F(WorldTest, EmptyWorldHasOnlyTheHeroAndTheOverlay) {
  build(0);
  EXPECT_EQ(b2Vec2(1.0f, 1.0f), world->player().body()->GetPosition());
  EXPECT_EQ(-1, world->musicChannel());
  EXPECT_TRUE(world->terrain().empty());
  EXPECT_EQ(0u, world->triggerCount());
  EXPECT_EQ(2u, world->liveEntities().size());
  world->render();
  const SDL_Color blank = pixelAt(world->picture().texture(), 5, 5);
  EXPECT_EQ(0, blank.r + blank.g + blank.b) << "no background";
}

TEST_F(WorldTest, WorldPointsMapToScreenPixels) {
  build(0);
  EXPECT_EQ(64, world->worldToScreen(1, 1).x);
  EXPECT_EQ(536, world->worldToScreen(1, 1).y);
  EXPECT_EQ(600, world->worldToScreen(0, 0).y);
  world->moveCamera(2.0, 1.0);
  EXPECT_EQ(-64, world->worldToScreen(1, 1).x);
  EXPECT_EQ(600, world->worldToScreen(1, 1).y);
}

TEST_F(WorldTest, TeardownLogsItsEightStepsInOrder) {
  build(1);
  const LogCapture capture;
  delete world;
  world = nullptr;
  const std::string log = capture.text();
  const std::vector<std::string> steps = {"Destroying virtual bitmap...\n",
                                          "Destroying fixture containers...\n",
                                          "Destroying entities...\n",
                                          "Destroying walls...\n",
                                          "Destroying HUD...\n",
                                          "Destroying Player...\n",
                                          "Destroying b2World...\n",
                                          "~WorldContainer() done...\n"};
  size_t at = 0;
  for (const std::string& step : steps) {
    const size_t found = log.find(step, at);
    ASSERT_NE(std::string::npos, found) << step << "missing or out of order in\n" << log;
    at = found + step.size();
  }
  EXPECT_EQ(at, log.size()) << "the last line ends the teardown";
}

TEST_F(WorldTest, StagesLayOutTheirTerrain) {
  build(1);
  EXPECT_EQ(3u, terrainBoxesLogged(buildLog));
  EXPECT_NE(std::string::npos, buildLog.find("-0.312500 2.078125 0.000000 9.375000\n-20 467\n"));
  EXPECT_NE(std::string::npos, buildLog.find("0.000000 0.000000 50.000000 1.765625\n0 600\n"));
  EXPECT_EQ(3u, world->terrain().size());
  EXPECT_EQ(TAG_NONE, world->terrain()[0]->tag);
  EXPECT_EQ(TAG_GROUND, world->terrain()[1]->tag);
  EXPECT_EQ(6u, world->ownedEntities().size());
  EXPECT_EQ(b2Vec2(2.0f, 3.0f), world->player().body()->GetPosition());
}

TEST_F(WorldTest, EntityEndingItselfMidWalkDoesNotDisturbTheOthers) {
  build(0);
  Listener* first = new Listener(world, b2Vec2(3, 3), false);
  Listener* last = new Listener(world, b2Vec2(5, 3), false);
  // The middle one leaves the world during its own update.
  struct Leaver : Listener {
    using Listener::Listener;
    void update() override { leaveWorld(); }
  };
  Leaver* middle = new Leaver(world, b2Vec2(4, 3), false);
  handOver({first, middle, last});
  script.play(*world);
  script.play(*world);
  EXPECT_EQ(2, first->updates);
  EXPECT_EQ(2, last->updates);
  EXPECT_FALSE(world->isLive(middle));
}

TEST_F(WorldTest, ContactsReachBothEntitiesAndTerrainContactsOnlyTheActor) {
  build(0);
  Listener* falling = new Listener(world, b2Vec2(3, 3), true);
  Listener* resting = new Listener(world, b2Vec2(3, 2), false);
  handOver({falling, resting});
  script.play(*world, 20);
  ASSERT_FALSE(falling->events.empty());
  EXPECT_EQ("contact began", falling->events.front());
  EXPECT_EQ("contact began", resting->events.front());
}

TEST_F(WorldTest, AreaEventsReachEachEntityOnce) {
  build(0);
  Listener* a = new Listener(world, b2Vec2(3, 3), false);
  b2PolygonShape second;
  second.SetAsBox(0.1f, 0.1f, b2Vec2(0.1f, 0), 0);
  a->body->CreateFixture(&second, 1.0f);
  Listener* b = new Listener(world, b2Vec2(9, 3), false);
  handOver({a, b});
  HitMessage hit{nullptr, 1.0, 0.0};
  world->sendToArea(areaBox(2, 2, 4, 4), hit);
  EXPECT_EQ(std::vector<std::string>{"hit"}, a->events) << "two fixtures, one call";
  EXPECT_TRUE(b->events.empty());
  world->sendToArea(areaBox(20, 20, 21, 21), hit);
  EXPECT_EQ(1u, a->events.size());
}

TEST_F(WorldTest, TriggerThatReportsAReplacementStopsThePass) {
  build(0);
  std::vector<int> called;
  world->addTrigger([&]() -> std::optional<StageChange> {
    called.push_back(1);
    return std::nullopt;
  });
  world->addTrigger([&]() -> std::optional<StageChange> {
    called.push_back(2);
    return StageChange{0};
  });
  world->addTrigger([&]() -> std::optional<StageChange> {
    called.push_back(3);
    return std::nullopt;
  });
  script.play(*world);
  EXPECT_EQ((std::vector<int>{1, 2}), called);
}

TEST_F(WorldTest, StageOneExitCarriesTheHealthAsAWholeNumber) {
  build(1);
  world->player().setHealth(123.9);
  moveHeroTo(47.0f, 2.0f);
  const LogCapture capture;
  script.play(*world);
  const std::string log = capture.text();
  EXPECT_EQ(17u, terrainBoxesLogged(log));
  EXPECT_EQ(123.0, world->player().health());
  EXPECT_EQ(b2Vec2(0.0f, 8.0f), world->player().body()->GetPosition()) << "stage 2's start";
  EXPECT_EQ(17u, world->terrain().size());
  EXPECT_FALSE(world->destroyed());
}

TEST_F(WorldTest, StageTwoExitNeedsBothThresholds) {
  build(2);
  moveHeroTo(47.79999924f, 12.0f);
  script.play(*world);
  EXPECT_EQ(17u, world->terrain().size()) << "still stage 2";
  moveHeroTo(60.0f, 5.0f);
  script.play(*world);
  EXPECT_EQ(17u, world->terrain().size()) << "too low";
  moveHeroTo(47.80000305f, 20.0f);
  const LogCapture log;
  script.play(*world);
  EXPECT_NE(std::string::npos, log.text().find("Going to stage 3...\nDestroying virtual"));
  EXPECT_EQ(1u, world->terrain().size()) << "stage 3's slope";
  EXPECT_EQ(47u, world->ownedEntities().size());
}

TEST_F(WorldTest, AmbushFiresOncePerWorld) {
  build(1);
  moveHeroTo(28.0f, 2.0f);
  script.play(*world);
  EXPECT_EQ(11u, world->ownedEntities().size());
  moveHeroTo(20.0f, 2.0f);
  script.play(*world);
  moveHeroTo(29.0f, 2.0f);
  script.play(*world);
  EXPECT_EQ(11u, world->ownedEntities().size());
}

TEST_F(WorldTest, StageThreeExitEntersTheBossArena) {
  build(3);
  moveHeroTo(59.0f, 10.0f);
  script.play(*world);
  EXPECT_EQ(10u, world->terrain().size());
  EXPECT_EQ(1u, world->ownedEntities().size()) << "the boss";
  EXPECT_EQ(b2Vec2(2.0f, 2.0f), world->player().body()->GetPosition());
  EXPECT_EQ(1u, world->triggerCount());
}

// The stage 1 and 2 exits as the map screen plays them, seen at one window pixel: the old
// stage, then 20 frames of its colour falling towards the new world's blank picture (not drawn
// before the fade), then the new stage at full strength.
TEST_F(WorldTest, StageExitsFadeFromTheOldStageIntoTheNewOne) {
  constexpr SDL_Point kSpot{450, 200};  // on the stage picture at both exits, clear of the hero
  constexpr int kFadeFrames = 20;
  // The flip that still shows the old stage, the capture and the new picture: then the fade.
  constexpr size_t kPresentsBeforeTheFade = 3;
  const int alphas[kFadeFrames] = {0,   13,  26,  38,  51,  64,  77,  89,  102, 115,
                                   128, 140, 153, 166, 179, 191, 204, 217, 230, 242};
  SceneMap map;
  std::vector<SDL_Color> shown;
  setPresentObserver([&] { shown.push_back(pixelOfTarget(kSpot.x, kSpot.y)); });
  // One frame of the map screen as the main loop plays it: its picture, its logic, the change of
  // stage it asks for, then the rest of its frame.
  const auto runMap = [&map] {
    flipFrame();
    const SceneChange change = map.run();
    if (!change.resumes) return;
    playOut(change.interlude);
    map.resume();
  };
  const auto crossExit = [&](const char* exitName, b2Vec2 nearExit, b2Vec2 exit) {
    SCOPED_TRACE(exitName);
    map.world->player().body()->SetTransform(nearExit, 0.0f);
    for (int frame = 0; frame < 3; ++frame) runMap();
    map.world->player().body()->SetTransform(exit, 0.0f);
    shown.clear();
    runMap();
    const std::vector<SDL_Color> exitFrame = shown;
    ASSERT_EQ(kPresentsBeforeTheFade + kFadeFrames, exitFrame.size());
    const SDL_Color old = exitFrame.front();
    EXPECT_TRUE(sameColour(TestAssets::colourOf("stage1"), old)) << describe(old);
    for (int k = 0; k < kFadeFrames; ++k) {
      const SDL_Color expected{static_cast<Uint8>(old.r * (255 - alphas[k]) / 255),
                               static_cast<Uint8>(old.g * (255 - alphas[k]) / 255),
                               static_cast<Uint8>(old.b * (255 - alphas[k]) / 255), 255};
      const SDL_Color seen = exitFrame[kPresentsBeforeTheFade + k];
      EXPECT_TRUE(sameColour(expected, seen, 2))
          << "fade frame " << k << ": " << describe(seen) << " instead of " << describe(expected);
    }
    const SDL_Color drawn = pixelAt(map.world->picture().texture(), kSpot.x, kSpot.y);
    shown.clear();
    runMap();
    EXPECT_TRUE(sameColour(drawn, shown.front())) << "the new stage shows at full strength";
    EXPECT_NE(0, drawn.r + drawn.g + drawn.b) << "the new stage is drawn";
  };
  crossExit("stage 1 exit", b2Vec2(46.0f, 2.0f), b2Vec2(47.0f, 2.0f));
  EXPECT_EQ(17u, map.world->terrain().size()) << "stage 2";
  crossExit("stage 2 exit", b2Vec2(47.0f, 12.0f), b2Vec2(47.9f, 12.0f));
  EXPECT_EQ(1u, map.world->terrain().size()) << "stage 3";
}

}  // namespace
