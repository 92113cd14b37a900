// The game played over an asset set with bad files in it: the title picture and the boss's
// picture cut short, the enemy's picture not an image, a hero frame missing, every sound either
// missing, not audio or cut short. Loading logs each, and the game plays on: the title, stage 1
// with its fights, the game-over screen, the way into the boss stage and the boss's fall all run
// their frames, the bad pictures draw nothing and not one sound plays.
//
// The registry is loaded once per process, so each test plays in a fresh child process of its
// own; the child reports the checks that failed on standard error.

#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "actors/enemy_boss_entity.h"
#include "actors/enemy_entity.h"
#include "actors/player_entity.h"
#include "app/app_context.h"
#include "app/screen_frames.h"
#include "app/transition.h"
#include "graphics/bitmap.h"
#include "media/asset_registry.h"
#include "media/bad_files.h"
#include "media/sound_playback.h"
#include "scenes/scene_game_over.h"
#include "scenes/scene_map.h"
#include "scenes/scene_title.h"
#include "support/frame_script.h"
#include "support/game_test.h"
#include "support/headless_runtime.h"
#include "support/log_capture.h"
#include "support/main_loop_seam.h"
#include "support/test_assets.h"
#include "world/world_container.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kSetVariable = "TARNWICK_BAD_FILES_SET";
constexpr int kTitleFadeInFrames = 20;
constexpr int kStage1Frames = 300;
constexpr int kSwingEveryFrames = 8;
constexpr int kJumpEveryFrames = 25;
constexpr int kLoseWithinFrames = 10;
constexpr int kBossStageBoxes = 10;
constexpr int kBossCallFrames = 400;

// What was made bad, and the line loading it must log.
struct BadFile {
  const char* file;  // under assets/
  bool picture;
};
constexpr BadFile kBadFiles[] = {
    {"images/title.png", true},                // cut short
    {"images/enemy_boss.png", true},           // cut short
    {"images/enemy.png", true},                // not an image
    {"images/serval_cat_jump.png", true},      // missing
    {"sound/title.wav", false},                // missing
    {"sound/serval_cat_atk_long.wav", false},  // missing
    {"sound/damage.wav", false},               // not audio
    {"sound/fight_bgm.wav", false},            // an OGG cut short
    {"sound/last_boss.wav", false},            // an OGG cut short
};

// The generated test assets with the bad files put in.
void makeBadSet(const fs::path& dir) {
  fs::create_directories(dir);
  fs::copy(fs::path(TestAssets::directory()) / "assets", dir / "assets",
           fs::copy_options::recursive);
  const fs::path real = BadFiles::realAssets();
  const fs::path assets = dir / "assets";
  BadFiles::writeTruncated(real / "images" / "title.png", assets / "images" / "title.png");
  BadFiles::writeTruncated(real / "images" / "enemy_boss.png",
                           assets / "images" / "enemy_boss.png");
  BadFiles::writeText(assets / "images" / "enemy.png");
  fs::remove(assets / "images" / "serval_cat_jump.png");
  fs::remove(assets / "sound" / "title.wav");
  fs::remove(assets / "sound" / "serval_cat_atk_long.wav");
  BadFiles::writeText(assets / "sound" / "damage.wav");
  BadFiles::writeTruncated(real / "sound" / "damage.ogg", assets / "sound" / "fight_bgm.wav");
  BadFiles::writeTruncated(real / "sound" / "damage.ogg", assets / "sound" / "last_boss.wav");
}

// Ends the child process: status 0 when every check held, otherwise 1 with the failures on
// standard error, where the parent shows them.
[[noreturn]] void exitWithTheChecks() {
  const testing::TestResult& result =
      *testing::UnitTest::GetInstance()->current_test_info()->result();
  for (int i = 0; i < result.total_part_count(); ++i) {
    const testing::TestPartResult& part = result.GetTestPartResult(i);
    if (part.failed()) {
      std::fprintf(stderr, "%s:%d: %s\n", part.file_name(), part.line_number(), part.message());
    }
  }
  std::fflush(stdout);
  std::exit(result.Failed() ? 1 : 0);
}

bool sameColour(SDL_Color a, SDL_Color b) {
  return a.r == b.r && a.g == b.g && a.b == b.b;
}

class BadFilesPlay : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The child runs this again: it finds the set its parent made through the environment.
    if (const char* inherited = std::getenv(kSetVariable)) {
      dir = inherited;
      return;
    }
    dir = fs::temp_directory_path() / ("tarnwick-bad-set-" + std::to_string(getpid()));
    makeBadSet(dir);
    setenv(kSetVariable, dir.u8string().c_str(), 1);
    madeTheSet = true;
  }
  void TearDown() override {
    if (!madeTheSet) return;
    unsetenv(kSetVariable);
    fs::remove_all(dir);
  }

  // Runs `play` in a fresh child process with the game's runtime started there over the bad
  // set; the test passes when every check in the child held.
  void playInAFreshProcess(const std::function<void()>& play) {
    EXPECT_EXIT(
        {
          startOverTheBadSet();
          play();
          exitWithTheChecks();
        },
        ::testing::ExitedWithCode(0), "");
  }

  void startOverTheBadSet() {
    ASSERT_NO_THROW(fs::current_path(dir));
    ASSERT_TRUE(startHeadlessRuntime());
    const LogCapture capture;
    AssetRegistry::instance()->loadAll();
    const std::string log = capture.text();
    for (const BadFile& bad : kBadFiles) {
      const std::string path = std::string(AssetRegistry::ASSET_DIR) + bad.file;
      const std::string line =
          bad.picture ? BadFiles::pictureErrorEnd(path) : BadFiles::soundError(path);
      EXPECT_NE(std::string::npos, log.find(line)) << line;
    }
    EXPECT_NE(std::string::npos, log.find("All assets loaded.\n"));
  }

  fs::path dir;
  bool madeTheSet = false;
};

// No live enemy in view shows the enemy's picture in the world picture.
void expectEnemiesUnseen(WorldContainer& world) {
  const SDL_Color enemyColour = TestAssets::colourOf("enemy");
  for (const std::unique_ptr<Entity>& owned : world.ownedEntities()) {
    Entity* entity = owned.get();
    if (entity->kind != KIND_ENEMY || !world.isLive(entity)) continue;
    const b2Vec2 at = static_cast<EnemyEntity*>(entity)->body->GetPosition();
    // The middle of where the picture would stand, on the disc's centre line.
    const Point screen = world.worldToScreen(at.x + 1.0f, at.y + 0.75f);
    if (screen.x < 0 || screen.x >= SCREEN_WIDTH || screen.y < 0 || screen.y >= SCREEN_HEIGHT) {
      continue;
    }
    EXPECT_FALSE(
        sameColour(enemyColour, GameTest::pixelAt(world.picture().texture(), screen.x, screen.y)));
  }
}

TEST_F(BadFilesPlay, TheScreensAndStageOneRunSilentlyAndTheBadPicturesDrawNothing) {
  playInAFreshProcess([] {
    FrameScript script;
    playOut(Transition().capture());
    showScreen(std::make_unique<SceneTitle>());
    playOut(Transition().fade(kTitleFadeInFrames));
    script.runScreens(10);
    EXPECT_TRUE(sameColour({0, 0, 0, 255}, GameTest::pixelOfTarget(400, 300)))
        << "the title picture draws nothing over the black window";

    script.hold(SDL_SCANCODE_SPACE).runScreens();
    const Scene* map = currentScreen();
    ASSERT_NE(nullptr, dynamic_cast<const SceneMap*>(map));
    WorldContainer* world = static_cast<const SceneMap*>(map)->world.get();
    EXPECT_EQ(-1, world->musicChannel());
    int enemiesHit = 0;
    for (int frame = 1; frame <= kStage1Frames; ++frame) {
      script.releaseAll().hold(SDL_SCANCODE_D);
      if (frame % kSwingEveryFrames == 0) script.holdButtons(SDL_BUTTON_LMASK);
      if (frame % kJumpEveryFrames == 0) script.hold(SDL_SCANCODE_SPACE);
      script.runScreens();
      expectEnemiesUnseen(*world);
    }
    for (const std::unique_ptr<Entity>& owned : world->ownedEntities()) {
      Entity* entity = owned.get();
      if (static_cast<EnemyEntity*>(entity)->health < 30) ++enemiesHit;
    }
    EXPECT_GT(enemiesHit, 0) << "the hero's blows landed, with their sound";
    EXPECT_EQ(0, Mix_Playing(ALL_CHANNELS));

    script.releaseAll();
    // Liquid drunk in the same frame may lift the hero back above 0 for a frame or two. The
    // game-over screen may take the freed map's address (Windows' heap does that), so the
    // screen is told by its kind.
    for (int frame = 0;
         frame < kLoseWithinFrames && dynamic_cast<SceneGameOver*>(currentScreen()) == nullptr;
         ++frame) {
      world->player().setHealth(0.0);
      script.runScreens();
    }
    ASSERT_NE(nullptr, dynamic_cast<SceneGameOver*>(currentScreen()));
    // SPACE leaves the game-over screen (its frame presents once before it looks at the keys)
    // and is let go while the screens fade, before the title looks at them.
    int presents = 0;
    setPresentObserver([&script, &presents] {
      if (++presents == 2) script.release(SDL_SCANCODE_SPACE);
    });
    script.hold(SDL_SCANCODE_SPACE).runScreens();
    setPresentObserver(nullptr);
    ASSERT_NE(nullptr, dynamic_cast<SceneTitle*>(currentScreen()));
    script.runScreens(10);
    EXPECT_EQ(0, Mix_Playing(ALL_CHANNELS));
    script.hold(SDL_SCANCODE_ESCAPE).runScreens();
    EXPECT_EQ(nullptr, currentScreen());
  });
}

TEST_F(BadFilesPlay, TheBossStageIsReachedAndTheBossFallsSilentlyAndUnseen) {
  playInAFreshProcess([] {
    FrameScript script;
    auto world = std::make_unique<WorldContainer>(3);
    world->player().body()->SetTransform(b2Vec2(59.5f, 12.0f), 0.0f);
    script.play(*world, 5);
    ASSERT_EQ(kBossStageBoxes, static_cast<int>(world->terrain().size()));
    EXPECT_EQ(-1, world->musicChannel()) << "the boss music did not start";

    auto* boss = static_cast<EnemyBossEntity*>(world->ownedEntities().front().get());
    script.play(*world, kBossCallFrames);
    world->render();
    const b2Vec2 at = boss->body->GetPosition();
    const Point centre = world->worldToScreen(at.x, at.y);
    if (centre.x >= 0 && centre.x < SCREEN_WIDTH && centre.y >= 0 && centre.y < SCREEN_HEIGHT) {
      EXPECT_FALSE(sameColour(TestAssets::colourOf("enemy_boss"),
                              GameTest::pixelAt(world->picture().texture(), centre.x, centre.y)));
    }
    HitMessage felling{&world->player(), EnemyBossEntity::kFullHealth, 0.0};
    boss->onEvent(felling);
    script.play(*world, 5);
    world->render();
    EXPECT_EQ(1, world->stageFlag("boss_defeated"));
    EXPECT_EQ(-1, world->musicChannel()) << "the title music did not start";
    EXPECT_EQ(0, Mix_Playing(ALL_CHANNELS));
  });
}

}  // namespace
