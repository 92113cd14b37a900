#include "scenes/scene_title.h"

#include <gtest/gtest.h>

#include "actors/player_entity.h"
#include "app/app_context.h"
#include "app/screen_frames.h"
#include "graphics/draw_list.h"
#include "scenes/scene_game_over.h"
#include "scenes/scene_map.h"
#include "support/log_capture.h"
#include "support/screen_test.h"
#include "world/world_container.h"

namespace {

class Screens : public ScreenTest {
 protected:
  template <typename T>
  bool current() const {
    return dynamic_cast<T*>(currentScreen()) != nullptr;
  }
};

TEST_F(Screens, TitleWaitsForAKey) {
  script.runScreens(30);
  EXPECT_TRUE(current<SceneTitle>());
  EXPECT_EQ(1u, drawList->size()) << "only the title picture";
}

TEST_F(Screens, EscapeOnTheTitleEndsTheGame) {
  script.hold(SDL_SCANCODE_ESCAPE).hold(SDL_SCANCODE_SPACE).runScreens();
  EXPECT_EQ(nullptr, currentScreen()) << "ESC wins over SPACE";
  EXPECT_EQ(0u, drawList->size());
}

TEST_F(Screens, SpaceStartsAFreshStageOne) {
  script.hold(SDL_SCANCODE_SPACE).runScreens();
  ASSERT_TRUE(current<SceneMap>());
  WorldContainer* world = static_cast<SceneMap*>(currentScreen())->world.get();
  EXPECT_FALSE(world->destroyed());
  EXPECT_EQ(3u, world->terrain().size());
  EXPECT_FALSE(screenFrozen()) << "the fade into stage 1 is over";
}

TEST_F(Screens, LosingLeadsToGameOverAndBackToTheTitle) {
  script.hold(SDL_SCANCODE_SPACE).runScreens();
  script.releaseAll().runScreens(3);
  ASSERT_TRUE(current<SceneMap>());
  static_cast<SceneMap*>(currentScreen())->world->player().setHealth(0.0);
  script.runScreens();
  ASSERT_TRUE(current<SceneGameOver>());
  script.runScreens(5);
  EXPECT_TRUE(current<SceneGameOver>()) << "waits for a key";
  script.hold(SDL_SCANCODE_SPACE).runScreens();
  EXPECT_TRUE(current<SceneMap>()) << "SPACE still held starts the next game at once";
  script.releaseAll().runScreens();
  static_cast<SceneMap*>(currentScreen())->world->player().setHealth(-1.0);
  script.runScreens();
  script.hold(SDL_SCANCODE_ESCAPE).runScreens();
  EXPECT_EQ(nullptr, currentScreen());
}

TEST_F(Screens, GameOverOrderOfLines) {
  script.hold(SDL_SCANCODE_SPACE).runScreens();
  script.releaseAll();
  static_cast<SceneMap*>(currentScreen())->world->player().setHealth(0.0);
  const LogCapture log;
  script.runScreens();
  const std::string lines = log.text();
  const size_t destroying = lines.find("Destroying WorldContainer...\n");
  const size_t done = lines.find("~WorldContainer() done...\n");
  const size_t going = lines.find("Going to GameOver...\n");
  EXPECT_LT(destroying, done);
  EXPECT_LT(done, going);
  EXPECT_NE(std::string::npos, going);
}

TEST_F(Screens, HalfAPointOfHealthStillPlays) {
  script.hold(SDL_SCANCODE_SPACE).runScreens();
  script.releaseAll();
  static_cast<SceneMap*>(currentScreen())->world->player().setHealth(0.5);
  script.runScreens();
  EXPECT_TRUE(current<SceneMap>());
}

}  // namespace
