// Whole games from the title, scripted frame by frame and traced as a player perceives them:
// every screen change counted in presents with its fades blended frame by frame at a probe
// pixel, the hero in view from the very first frames of every new stage, the music of every stage
// and every effect with its level, the overlay's gauge against the hero's health at every frame of
// play, a foe's touch with its knock-back, the ambush's places, the overlay's layout, and stage 1's
// exit taking precedence over its ambush.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "actors/enemy_boss_entity.h"
#include "actors/enemy_entity.h"
#include "actors/player_entity.h"
#include "app/app_context.h"
#include "app/screen_frames.h"
#include "media/required_assets.h"
#include "scenes/scene_game_over.h"
#include "scenes/scene_map.h"
#include "scenes/scene_title.h"
#include "support/log_capture.h"
#include "support/play_trace.h"
#include "support/screen_test.h"
#include "support/test_assets.h"
#include "world/world_container.h"

namespace {

using Sounds = std::vector<std::string>;

constexpr SDL_Point kProbe{780, 20};  // clear of the overlay, the hero and the boss's picture
constexpr int kGaugeCentreX = 95;     // on the screen: the gauge's corner plus its centre
constexpr int kGaugeCentreY = 95;
constexpr double kGaugeProbeRadius = 50.0;  // pixels
constexpr double kGaugeTurn = 6.28;         // radians of a full gauge
constexpr double kFullHealth = 10000.0;
constexpr double kEdgeMargin = 0.06;  // radians either side of the gauge's edge

// The camera's rule: the hero's centre line 6 m from the view's left edge, its feet 1.8 m above
// the bottom, and never a view of negative coordinates. The hero's picture ends 64 pixels under
// its feet (its pivot, 128 pixels above its bottom edge, at half size).
constexpr float kViewLeadX = 6.0f;  // m
constexpr float kViewLiftY = 1.8f;  // m
constexpr int kHeroBelowFeet = 64;  // pixels
constexpr int kEdgeTolerance = 8;   // pixels either side of the picture's bottom edge
constexpr int kFirstFramesOfAStage = 3;

constexpr size_t kStage1Boxes = 3;
constexpr size_t kStage2Boxes = 17;
constexpr size_t kStage3Boxes = 1;
constexpr size_t kStage4Boxes = 10;
constexpr size_t kStage1Enemies = 6;
constexpr int kJumpEveryFrames = 25;
constexpr int kDoubleJumpAfterFrames = 6;
constexpr int kBossHealthLeft = 35;  // the maul's sweep (20), then the first blow of its spin (15)

const Sounds kStageChangeSounds = {"fade-out fight_bgm 1000", "play fight_bgm loop 500 128"};
const std::vector<b2Vec2> kAmbushPlaces = {{30, 20}, {31, 22}, {32, 24}, {33, 25}, {34, 28}};

bool sameColour(SDL_Color a, SDL_Color b) {
  return a.r == b.r && a.g == b.g && a.b == b.b;
}

SDL_Color shownAt(int x, int y) {
  return GameTest::pixelOfTarget(x, y);
}

class Playthrough : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    srand(1);  // the sequence of a fresh process: the game never seeds
    trace.eachPresent = [this] { checkFrameOfPlay(); };
  }

  bool playing() const { return dynamic_cast<SceneMap*>(currentScreen()) != nullptr; }
  WorldContainer* world() const { return static_cast<SceneMap*>(currentScreen())->world.get(); }
  PlayerEntity* hero() const { return &world()->player(); }
  b2Vec2 heroAt() const { return hero()->body()->GetPosition(); }
  size_t terrainBoxes() const { return world()->terrain().size(); }

  // One frame of the current screen; the trace then holds just that frame's presents and
  // sounds, and `heard` every sound since the game began.
  void frame() {
    trace.clear();
    script.runScreens();
    const Sounds sounds = trace.sounds();
    heard.insert(heard.end(), sounds.begin(), sounds.end());
  }
  void tap(SDL_Scancode key) {
    script.hold(key);
    frame();
    script.release(key);
  }
  void click() {
    script.holdButtons(SDL_BUTTON_LMASK);
    frame();
    script.releaseButtons(SDL_BUTTON_LMASK);
  }
  // Plays frames until `done` holds after one (at most `limit`); true when it did.
  bool playUntil(
      const std::function<bool()>& done, int limit,
      const std::function<void(int)>& beforeFrame = [](int) {}) {
    for (int i = 0; i < limit; ++i) {
      beforeFrame(i);
      frame();
      if (done()) return true;
    }
    return false;
  }
  void teleportHero(float x, float y) {
    hero()->body()->SetTransform(b2Vec2(x, y), 0.0f);
    hero()->body()->SetAwake(true);
  }
  // The first frames of a new stage, with the hero left where the stage put it.
  void playFirstFramesOfStage() {
    playUntil([] { return false; }, kFirstFramesOfAStage);
  }
  Sounds heardSince(size_t mark) const { return Sounds(heard.begin() + mark, heard.end()); }

  void checkFrameOfPlay() {
    checkGauge();
    checkFirstFramesOfStage();
  }

  // The first frames of a new stage show the hero where the camera keeps it, not the corner the
  // view starts from: the bottom edge of its picture lies where the camera's rule puts it.
  void checkFirstFramesOfStage() {
    if (screenFrozen() || SDL_GetRenderTarget(getRenderer()) != nullptr || !playing()) return;
    if (terrainBoxes() != stageBoxes) {
      stageBoxes = terrainBoxes();
      stageFrames = 0;
    }
    // Stage 1 comes from the title, whose fade shows the world before its first picture.
    if (stageBoxes == kStage1Boxes || stageFrames++ >= kFirstFramesOfAStage) return;
    ++firstFramesChecked;
    const float centre = heroAt().x + PlayerEntity::kCentreLineOffset;
    const float feet = heroAt().y;
    const int x = static_cast<int>((centre - std::max(0.0f, centre - kViewLeadX)) * 64.0f);
    const int bottom =
        static_cast<int>(600.0f - (feet - std::max(0.0f, feet - kViewLiftY)) * 64.0f) +
        kHeroBelowFeet;
    if (isHero(shownAt(x, bottom - kEdgeTolerance)) &&
        !isHero(shownAt(x, bottom + kEdgeTolerance))) {
      return;
    }
    ADD_FAILURE() << "stage with " << stageBoxes << " terrain boxes, frame " << stageFrames
                  << ": the hero's picture does not end at (" << x << ", " << bottom << ")";
  }
  static bool isHero(SDL_Color c) {
    for (const char* name : RequiredAssets::kBitmaps) {
      if (std::string(name).rfind("serval_cat_", 0) == 0 &&
          sameColour(c, TestAssets::colourOf(name))) {
        return true;
      }
    }
    return false;
  }

  // At every frame of play the gauge shows the hero's health: the fill up to the angle of the
  // health, counter-clockwise from the right, and black beyond. (While the screen is frozen the
  // current screen may already be gone.)
  void checkGauge() {
    if (screenFrozen() || SDL_GetRenderTarget(getRenderer()) != nullptr || !playing()) return;
    ++gaugeFrames;
    const double health = hero()->health();
    const double edge = std::min(kGaugeTurn, std::max(0.0, health / kFullHealth * kGaugeTurn));
    const bool fillShown = edge <= kEdgeMargin || isFill(gaugeAt(edge - kEdgeMargin));
    const bool restBlack = edge + kEdgeMargin >= kGaugeTurn || isBlack(gaugeAt(edge + kEdgeMargin));
    if (edge + kEdgeMargin < kGaugeTurn) ++gaugeFramesWithBlack;
    if (fillShown && restBlack) return;
    if (gaugeMismatches++ == 0) firstMismatchHealth = health;
  }
  static SDL_Color gaugeAt(double angle) {
    return shownAt(kGaugeCentreX + static_cast<int>(std::lround(kGaugeProbeRadius * cos(angle))),
                   kGaugeCentreY - static_cast<int>(std::lround(kGaugeProbeRadius * sin(angle))));
  }
  static bool isFill(SDL_Color c) { return sameColour(c, TestAssets::colourOf("hud_fill")); }
  static bool isBlack(SDL_Color c) { return sameColour(c, {0, 0, 0, 255}); }

  // The overlay as the next frame shows it: the frame and gauge in the top-left corner, the
  // weapon plate beside them, the boss bar along the bottom, filled red for `bossFraction`.
  void expectOverlayLayout(double bossFraction) {
    bool seen = false;
    trace.eachPresent = [&] {
      seen = true;
      EXPECT_TRUE(sameColour(TestAssets::colourOf("hud"), shownAt(22, 22))) << "frame at (20, 20)";
      EXPECT_TRUE(isFill(shownAt(kGaugeCentreX, kGaugeCentreY))) << "gauge at (20, 20)";
      const SDL_Color plate = TestAssets::colourOf("hud_wh");
      EXPECT_TRUE(sameColour(plate, shownAt(265, 105))) << "maul plate at (265, 105)";
      EXPECT_TRUE(sameColour(plate, shownAt(384, 144))) << "120 × 40";
      EXPECT_FALSE(sameColour(plate, shownAt(264, 104)));
      EXPECT_TRUE(isBlack(shownAt(60, 590))) << "the bar's outline";
      EXPECT_TRUE(isBlack(shownAt(400, 599)));
      const int red = static_cast<int>(bossFraction * 676.0);
      EXPECT_TRUE(sameColour({255, 0, 0, 255}, shownAt(62 + red - 1, 590))) << "red to " << red;
      EXPECT_TRUE(sameColour({128, 128, 128, 255}, shownAt(62 + red, 590))) << "grey after";
      EXPECT_TRUE(sameColour({128, 128, 128, 255}, shownAt(737, 597))) << "676 × 16 inside";
    };
    frame();
    EXPECT_TRUE(seen);
    trace.eachPresent = [this] { checkFrameOfPlay(); };
  }

  PlayTrace trace{kProbe};
  Sounds heard;
  int gaugeFrames = 0;
  int gaugeFramesWithBlack = 0;
  int gaugeMismatches = 0;
  double firstMismatchHealth = 0.0;
  size_t stageBoxes = 0;
  int stageFrames = 0;
  int firstFramesChecked = 0;
};

TEST_F(Playthrough, FromTheTitleThroughEveryStageToTheFallenBossAsAPlayerSeesAndHearsIt) {
  // The title fades to black over 90 frames and stage 1 fades in over 20; the title music gives
  // way to the fight music at full level.
  tap(SDL_SCANCODE_SPACE);
  ASSERT_TRUE(playing());
  expectScreenSteps(trace.shown, {flips(1), capture(), fade(90), capture(), fade(20)});
  EXPECT_EQ(Sounds({"fade-out title 1000", "play fight_bgm loop 500 128"}), trace.sounds());

  // Walking into the first enemy costs 50 and throws the hero back, away from it, and up.
  script.hold(SDL_SCANCODE_D);
  ASSERT_TRUE(playUntil([&] { return hero()->health() < kFullHealth; }, 200));
  EXPECT_EQ(kFullHealth - 50.0, hero()->health());
  const b2Vec2 struck = heroAt();
  playUntil([] { return false; }, 3);
  EXPECT_LT(heroAt().x, struck.x - 0.2f) << "thrown back";
  EXPECT_GT(heroAt().y, struck.y + 0.1f) << "and up";

  // Running right and jumping twice at a time: running costs a point a frame; at x 28 the ambush
  // drops five foes at their places; at x 47 stage 1 fades to stage 2's first, still empty picture.
  script.holdButtons(SDL_BUTTON_RMASK);
  std::vector<b2Vec2> ambush;
  const bool leftStage1 = playUntil(
      [&] { return terrainBoxes() == kStage2Boxes; }, 1500,
      [&](int i) {
        if (i % kJumpEveryFrames == 0 || i % kJumpEveryFrames == kDoubleJumpAfterFrames) {
          script.hold(SDL_SCANCODE_SPACE);
        } else {
          script.release(SDL_SCANCODE_SPACE);
        }
        if (!ambush.empty() || world()->ownedEntities().size() <= kStage1Enemies) return;
        for (size_t e = kStage1Enemies; e < world()->ownedEntities().size(); ++e) {
          ambush.push_back(
              static_cast<EnemyEntity&>(*world()->ownedEntities()[e]).body->GetPosition());
        }
      });
  ASSERT_TRUE(leftStage1) << "hero stuck at x " << heroAt().x;
  EXPECT_EQ(kAmbushPlaces, ambush);
  expectScreenSteps(trace.shown, {flips(1), capture(), fade(20)});
  EXPECT_EQ(kStageChangeSounds, trace.sounds());
  EXPECT_LT(hero()->health(), kFullHealth - 50.0 - 300.0) << "running costs health";
  script.releaseAll();
  playFirstFramesOfStage();

  // Stage 2's exit ledge and stage 3's foot are reached by hand: their climbs are level design.
  teleportHero(47.9f, 12.0f);
  ASSERT_TRUE(playUntil([&] { return terrainBoxes() == kStage3Boxes; }, 5));
  expectScreenSteps(trace.shown, {flips(1), capture(), fade(20)});
  EXPECT_EQ(kStageChangeSounds, trace.sounds());
  playFirstFramesOfStage();

  // The boss stage is drawn before it fades in over 100 frames; its music starts after the fade,
  // and 60 more frames pass before play resumes.
  teleportHero(59.5f, 12.0f);
  ASSERT_TRUE(playUntil([&] { return terrainBoxes() == kStage4Boxes; }, 5));
  expectScreenSteps(trace.shown, {flips(1), capture(), fade(100), flips(60)});
  EXPECT_EQ(Sounds({"fade-out fight_bgm 1000", "play last_boss loop 500 128"}), trace.sounds());
  EXPECT_EQ(1u + 1u + 101u, trace.heard.back().afterPresents);

  // The maul's sweep and the first blow of its spin fell the boss, each hit heard at half level,
  // the spin's own sound too, faded as the spin ends; the boss's fall brings back the title music.
  auto* boss = static_cast<EnemyBossEntity*>(world()->ownedEntities().front().get());
  boss->health = kBossHealthLeft;
  playUntil([] { return false; }, 20);  // the hero drops onto its ledge
  const size_t fightBegins = heard.size();
  tap(SDL_SCANCODE_3);
  expectOverlayLayout(kBossHealthLeft / 1500.0);
  click();
  playUntil([] { return false; }, 5);
  click();
  ASSERT_TRUE(playUntil([&] { return hero()->attackPhase() == 0; }, 100));
  EXPECT_EQ(Sounds({"play damage once 0 64", "play serval_cat_atk_long once 0 64",
                    "play damage once 0 64", "play damage once 0 64", "fade-out last_boss 200",
                    "play title loop 500 128", "fade-out serval_cat_atk_long 100"}),
            heardSince(fightBegins));

  // The boss's liquid heals the hero as it walks into it.
  const double beforeDrinking = hero()->health();
  script.hold(SDL_SCANCODE_D);
  EXPECT_TRUE(playUntil([&] { return hero()->health() > beforeDrinking; }, 150));
  script.releaseAll();

  EXPECT_EQ(0, gaugeMismatches) << "first at health " << firstMismatchHealth;
  EXPECT_EQ(3 * kFirstFramesOfAStage, firstFramesChecked) << "stages 2, 3 and 4";
  EXPECT_GT(gaugeFramesWithBlack, 300) << "of " << gaugeFrames << " frames of play";
}

TEST_F(Playthrough, StageOneExitComesFirstAndEveryWayOutOfGameOverFades) {
  tap(SDL_SCANCODE_SPACE);
  ASSERT_TRUE(playing());
  // Standing past both the ambush and the exit in one frame: the stage changes and no ambusher
  // is ever made.
  teleportHero(47.5f, 2.0f);
  const LogCapture logged;
  frame();
  const std::string log = logged.text();
  ASSERT_EQ(kStage2Boxes, terrainBoxes());
  EXPECT_EQ(std::string::npos,
            log.substr(0, log.find("Destroying virtual")).find("Sprite created"));
  playFirstFramesOfStage();

  // One fall too many: the fall's sound, then the stage music fades as the world ends, and the
  // last picture of play fades into the game-over screen over 90 frames.
  hero()->addHealth(150.0 - hero()->health());
  teleportHero(20.0f, -19.0f);
  ASSERT_TRUE(
      playUntil([] { return dynamic_cast<SceneGameOver*>(currentScreen()) != nullptr; }, 40));
  expectScreenSteps(trace.shown, {flips(1), capture(), fade(90)});
  EXPECT_EQ(Sounds({"play damage once 0 64", "fade-out fight_bgm 1000"}), trace.sounds());

  // SPACE, let go during the fades: game over fades to black over 90 frames, then the title in
  // over 20, with every channel silenced and the title music started.
  int presents = 0;
  trace.eachPresent = [&] {
    if (++presents == 2) script.release(SDL_SCANCODE_SPACE);
  };
  script.hold(SDL_SCANCODE_SPACE);
  frame();
  ASSERT_TRUE(dynamic_cast<SceneTitle*>(currentScreen()) != nullptr);
  expectScreenSteps(trace.shown, {flips(1), capture(), fade(90), capture(), fade(20)});
  EXPECT_EQ(Sounds({"fade-out all 100", "play title loop 20 128"}), trace.sounds());

  // ESC on the game-over screen fades it to black over 120 frames and ends the game.
  trace.eachPresent = nullptr;
  tap(SDL_SCANCODE_SPACE);
  hero()->addHealth(-hero()->health());
  frame();
  ASSERT_TRUE(dynamic_cast<SceneGameOver*>(currentScreen()) != nullptr);
  tap(SDL_SCANCODE_ESCAPE);
  EXPECT_EQ(nullptr, currentScreen());
  expectScreenSteps(trace.shown, {flips(1), capture(), fade(120)});
  EXPECT_EQ(Sounds(), trace.sounds()) << "the music fading with the world is left to fade";
}

}  // namespace
