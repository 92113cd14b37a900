// One whole game, scripted frame by frame from the title: stage 1 run through, the ledges of
// stage 2 and the slope of stage 3 crossed, the boss felled with the maul, and the hero run
// into the ground until the game-over screen.

#include <gtest/gtest.h>

#include <functional>

#include "actors/enemy_boss_entity.h"
#include "actors/player_entity.h"
#include "app/app_context.h"
#include "app/screen_frames.h"
#include "scenes/scene_game_over.h"
#include "scenes/scene_map.h"
#include "scenes/scene_title.h"
#include "support/screen_test.h"
#include "world/world_container.h"

namespace {

constexpr int kStage1Boxes = 3;
constexpr int kStage2Boxes = 17;
constexpr int kStage3Boxes = 1;
constexpr int kStage4Boxes = 10;
constexpr int kJumpEveryFrames = 25;
constexpr int kBossHealthLeft = 40;  // two blows of the maul

class Playthrough : public ScreenTest {
 protected:
  WorldContainer* world() const { return static_cast<SceneMap*>(currentScene)->world; }
  size_t terrainBoxes() const { return world()->fixtureContainers.size(); }
  PlayerEntity* hero() const { return world()->player; }

  // Plays frames until `done` holds or `limit` frames have passed; true when it held.
  bool playUntil(
      const std::function<bool()>& done, int limit,
      const std::function<void(int)>& eachFrame = [](int) {}) {
    for (int frame = 0; frame < limit; ++frame) {
      if (done()) return true;
      eachFrame(frame);
      script.runScreens();
    }
    return done();
  }
  void tap(SDL_Scancode key) {
    script.hold(key).runScreens();
    script.release(key);
  }
  void click() {
    script.holdButtons(SDL_BUTTON_LMASK).runScreens();
    script.releaseButtons(SDL_BUTTON_LMASK);
  }
};

TEST_F(Playthrough, FromTheTitleToTheFallenBossAndTheGameOverScreen) {
  tap(SDL_SCANCODE_SPACE);
  ASSERT_TRUE(dynamic_cast<SceneMap*>(currentScene) != nullptr);
  ASSERT_EQ(kStage1Boxes, terrainBoxes());

  // Stage 1: run right, hopping over whatever leaps in the way.
  script.hold(SDL_SCANCODE_D).holdButtons(SDL_BUTTON_RMASK);
  const bool leftStage1 = playUntil([&] { return terrainBoxes() == kStage2Boxes; }, 1500,
                                    [&](int frame) {
                                      if (frame % kJumpEveryFrames == 0) {
                                        script.hold(SDL_SCANCODE_SPACE);
                                      } else {
                                        script.release(SDL_SCANCODE_SPACE);
                                      }
                                    });
  ASSERT_TRUE(leftStage1) << "hero stuck at x " << hero()->body->GetPosition().x;
  script.releaseAll();
  const double carried = hero()->health;
  EXPECT_EQ(static_cast<int>(carried), carried) << "health crosses stages as a whole number";
  EXPECT_LT(carried, 10000.0) << "running costs health";

  // Stage 2's exit ledge and stage 3's foot are reached by hand: their climbs are level design.
  hero()->body->SetTransform(b2Vec2(47.9f, 12.0f), 0.0f);
  ASSERT_TRUE(playUntil([&] { return terrainBoxes() == kStage3Boxes; }, 5));
  hero()->body->SetTransform(b2Vec2(59.5f, 12.0f), 0.0f);
  ASSERT_TRUE(playUntil([&] { return terrainBoxes() == kStage4Boxes; }, 5));
  EXPECT_GE(world()->musicChannel, 0) << "the boss music plays";

  // Stage 4: the boss floats right before the hero; the maul reaches it.
  EnemyBossEntity* boss = static_cast<EnemyBossEntity*>(world()->entities.front());
  boss->health = kBossHealthLeft;
  script.runScreens(20);  // the hero drops onto its ledge
  tap(SDL_SCANCODE_3);
  click();

  playUntil([&] { return hero()->attackPhase == 0; }, 60);
  click();
  ASSERT_TRUE(playUntil([&] { return world()->stageFlags["boss_defeated"] == 1; }, 60))
      << "boss health " << boss->health;
  EXPECT_GE(world()->musicChannel, 0) << "the title music plays";

  // With the boss gone the game goes on until the hero's health runs out: one fall too many.
  hero()->health = 150.0;
  hero()->body->SetTransform(b2Vec2(20.0f, -19.0f), 0.0f);
  hero()->body->SetAwake(true);
  ASSERT_TRUE(playUntil([&] { return dynamic_cast<SceneGameOver*>(currentScene) != nullptr; }, 40));
  script.releaseAll();
  tap(SDL_SCANCODE_ESCAPE);
  EXPECT_EQ(nullptr, currentScene);
}

}  // namespace
