// The world's picture as the camera follows the hero: the terrain picture and the liquid where
// their world places fall on the screen, and the boss turned and mirrored as its clock says.
// Marks are painted into the registry's own pictures (they are render targets) and painted over
// again afterwards.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "actors/enemy_boss_entity.h"
#include "actors/player_entity.h"
#include "app/screen_frames.h"
#include "base/video_output.h"
#include "graphics/bitmap.h"
#include "media/asset_registry.h"
#include "physics/particle_group_def.h"
#include "physics/particle_system.h"
#include "support/frame_script.h"
#include "support/game_test.h"
#include "support/log_capture.h"
#include "support/test_assets.h"
#include "world/world_container.h"

namespace {

constexpr SDL_Color kMark{255, 0, 255, 255};
constexpr SDL_Color kDrop{0, 0, 255, 255};  // the test's water_particle
constexpr int kMarkSize = 40;               // pixels of the marked picture
constexpr int kBelowTheHud = 200;           // the first row of the window clear of the overlay

// The rows of the renderer's current target from kBelowTheHud down.
std::vector<Uint32> rowsBelowTheHud() {
  const SDL_Rect rows{0, kBelowTheHud, 800, 600 - kBelowTheHud};
  std::vector<Uint32> pixels(static_cast<size_t>(rows.w) * rows.h);
  SDL_RenderReadPixels(getRenderer(), &rows, SDL_PIXELFORMAT_ARGB8888, pixels.data(), rows.w * 4);
  return pixels;
}

bool sameColour(SDL_Color a, SDL_Color b) {
  return a.r == b.r && a.g == b.g && a.b == b.b;
}

std::string text(SDL_Color c) {
  return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ")";
}

class WorldPicture : public GameTest {
 protected:
  void TearDown() override {
    unmark();
    {
      const LogCapture quiet;
      world.reset();
    }
    GameTest::TearDown();
  }

  void build(int stage) {
    const LogCapture quiet;
    world = std::make_unique<WorldContainer>(stage);
  }

  // A square mark at (x, y) of a registry picture, until the test ends.
  void mark(const char* name, int x, int y) {
    marked_ = name;
    markedAt_ = {x, y, kMarkSize, kMarkSize};
    AssetRegistry::instance()->bitmap(name)->fillRect(markedAt_, kMark);
  }

  // Puts the hero's feet at (x, y) and plays a frame: the camera follows it. Then draws.
  void heroAt(float x, float y) {
    world->player().body()->SetTransform(b2Vec2(x, y), 0.0f);
    script.play(*world);
  }

  // Where a world point lands on the screen with the camera where it is.
  SDL_Point onScreen(double x, double y) const {
    return {static_cast<int>((x - world->cameraX()) * 64.0),
            static_cast<int>(600.0 - (y - world->cameraY()) * 64.0)};
  }

  SDL_Color shownAt(SDL_Point at) { return pixelAt(world->picture().texture(), at.x, at.y); }

  // What the next frame shows of the world, as it is presented, over a window that still holds
  // an earlier picture (a colour that no picture of the test has).
  std::vector<Uint32> nextFrame() {
    SDL_Renderer* r = getRenderer();
    SDL_SetRenderTarget(r, nullptr);
    SDL_SetRenderDrawColor(r, 1, 2, 3, 255);
    SDL_RenderClear(r);
    std::vector<Uint32> shown;
    setPresentObserver([&shown] { shown = rowsBelowTheHud(); });
    flipFrame();
    setPresentObserver(nullptr);
    return shown;
  }

  std::vector<Uint32> renderedPicture() {
    Bitmap& picture = world->picture();
    SDL_Texture* previous = SDL_GetRenderTarget(getRenderer());
    SDL_SetRenderTarget(getRenderer(), picture.texture());
    std::vector<Uint32> pixels = rowsBelowTheHud();
    SDL_SetRenderTarget(getRenderer(), previous);
    return pixels;
  }

  std::unique_ptr<WorldContainer> world;
  FrameScript script;

 private:
  void unmark() {
    if (marked_ == nullptr) return;
    AssetRegistry::instance()->bitmap(marked_)->fillRect(markedAt_, TestAssets::colourOf(marked_));
  }

  const char* marked_ = nullptr;
  SDL_Rect markedAt_{};
};

TEST_F(WorldPicture, TerrainPictureAndLiquidFollowTheCamera) {
  build(2);
  const int stageHeight = TestAssets::sizeOf("stage2").y;
  constexpr int kMarkX = 640;  // stage pixels: 10 m from the left
  constexpr int kMarkY = 960;
  mark("stage2", kMarkX, kMarkY);
  // The mark's centre in world metres: the picture's bottom-left corner is the world origin.
  const double markX = (kMarkX + kMarkSize / 2) / 64.0;
  const double markY = (stageHeight - kMarkY - kMarkSize / 2) / 64.0;
  // The hero's body origin at each stop; the mark stays clear of the hero's picture.
  const b2Vec2 kCameraStops[] = {{5.0f, 9.0f}, {6.0f, 7.8f}, {12.0f, 4.0f}, {13.0f, 6.0f}};
  for (const b2Vec2& stop : kCameraStops) {
    heroAt(stop.x, stop.y);
    const b2Vec2 dropsAt(static_cast<float>(world->cameraX()) + 9.0f,
                         static_cast<float>(world->cameraY()) + 6.0f);
    const b2CircleShape blob = [] {
      b2CircleShape shape;
      shape.m_radius = 0.3f;
      return shape;
    }();
    ParticleGroupDef liquid;
    liquid.position = dropsAt;
    liquid.shape = &blob;
    world->liquid().CreateParticleGroup(liquid);
    world->render();
    const std::string where = "camera (" + std::to_string(world->cameraX()) + ", " +
                              std::to_string(world->cameraY()) + ")";
    const SDL_Point markShown = onScreen(markX, markY);
    EXPECT_TRUE(sameColour(kMark, shownAt(markShown)))
        << "the mark at " << markShown.x << ", " << markShown.y << " with the " << where
        << " shows " << text(shownAt(markShown));
    const SDL_Point beside{markShown.x - kMarkSize, markShown.y};
    EXPECT_TRUE(sameColour(TestAssets::colourOf("stage2"), shownAt(beside))) << where;
    EXPECT_TRUE(sameColour(kDrop, shownAt(onScreen(dropsAt.x, dropsAt.y))))
        << "the liquid with the " << where;
  }
}

TEST_F(WorldPicture, TheBossTurnsClockwiseWithItsClockAndIsDrawnMirrored) {
  build(4);
  auto* boss = static_cast<EnemyBossEntity*>(world->ownedEntities().front().get());
  // A mark at the right edge of the boss's picture, level with its pivot (300, 300).
  mark("enemy_boss", 600 - kMarkSize, 300 - kMarkSize / 2);
  constexpr double kMarkFromPivot = (600 - kMarkSize / 2 - 300) * 0.75;  // screen pixels
  for (int frames : {1, 35, 70, 105}) {
    script.play(*world, frames);
    world->render();
    const b2Vec2 centre = boss->body->GetPosition();
    const SDL_Point pivot = onScreen(centre.x, centre.y);
    // Mirrored, the mark points left; then it turns clockwise on the screen by the clock's angle.
    const double degrees = boss->patternTimer / 140.0 * 6.28 * 57.3;
    const double turn = degrees * M_PI / 180.0;
    const SDL_Point expected{
        pivot.x + static_cast<int>(std::lround(-kMarkFromPivot * std::cos(turn))),
        pivot.y + static_cast<int>(std::lround(-kMarkFromPivot * std::sin(turn)))};
    EXPECT_TRUE(sameColour(kMark, shownAt(expected)))
        << "clock " << boss->patternTimer << ": mark expected at " << expected.x << ", "
        << expected.y << " shows " << text(shownAt(expected));
  }
}

// The frames show the world as last rendered, drawn straight onto the window: every pixel as in
// a picture of its own, nothing of what the window held before, and still the same once the
// world has moved on without a render (the picture that a change of stage or the game's end
// freezes and fades from).
TEST_F(WorldPicture, FramesShowTheLastRenderUntilTheNext) {
  build(2);
  mark("stage2", 640, 960);
  heroAt(5.0f, 9.0f);
  world->render();
  const std::vector<Uint32> rendered = nextFrame();
  ASSERT_FALSE(rendered.empty());
  EXPECT_TRUE(rendered == renderedPicture()) << "the window and the world's own picture differ";
  EXPECT_NE(std::count(rendered.begin(), rendered.end(), 0xFFFF00FFu), 0) << "the mark is shown";
  heroAt(13.0f, 6.0f);
  EXPECT_TRUE(rendered == nextFrame()) << "a step without a render changed the picture";
  world->render();
  const std::vector<Uint32> moved = nextFrame();
  EXPECT_FALSE(rendered == moved) << "the camera's move is drawn";
  EXPECT_TRUE(moved == renderedPicture());
}

}  // namespace
