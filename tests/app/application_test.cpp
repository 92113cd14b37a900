// The whole game from start to end, each run in a fresh child process with its input scripted
// per presented frame: the log transcript and the exit status of every way the game can end.

#include "app/application.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/frame_pacer.h"
#include "app/input.h"
#include "support/play_trace.h"
#include "support/test_assets.h"

namespace fs = std::filesystem;

namespace {

// Decides the held input when the given frame (counted in presents) is about to be shown.
using InputScript = std::function<void(int present, ScriptedInput& input)>;
// Looks at what the game showed and played once it has ended, in the child.
using TraceCheck = std::function<void(const PlayTrace& trace)>;

constexpr int kTraceFailed = 3;  // the child's status when its trace check failed

// The child re-runs the test from the start in a process of its own; it finds the file its
// parent reads through the environment.
std::string transcriptPath() {
  constexpr const char* kVariable = "TARNWICK_TEST_TRANSCRIPT";
  if (const char* inherited = std::getenv(kVariable)) return inherited;
  const std::string path =
      (fs::temp_directory_path() / ("tarnwick-transcript-" + std::to_string(getpid()))).string();
  setenv(kVariable, path.c_str(), 1);
  return path;
}

// Runs in the child: the game exactly as main() runs it, then exits with its status.
[[noreturn]] void playWholeGame(const std::string& workingDirectory, const std::string& output,
                                InputScript script, TraceCheck check = nullptr,
                                const char* videoDriver = "dummy",
                                const char* audioDriver = "dummy") {
  setenv("SDL_VIDEODRIVER", videoDriver, 1);
  setenv("SDL_RENDER_DRIVER", "software", 1);
  setenv("SDL_AUDIODRIVER", audioDriver, 1);
  if (chdir(workingDirectory.c_str()) != 0) std::_Exit(100);
  if (std::freopen(output.c_str(), "w", stdout) == nullptr) std::_Exit(101);
  FramePacer::instance().setEnabled(false);
  static ScriptedInput input;
  setScriptedInput(&input);
  static int presents = 0;
  static PlayTrace trace({SCREEN_WIDTH / 2, SCREEN_HEIGHT / 2});
  trace.eachPresent = [script] { script(++presents, input); };
  logPrint("Tarnwick starting...\n");
  const int result = runApplication();
  logPrint("Tarnwick exiting code %d\n", result);
  std::fflush(stdout);
  if (check) check(trace);
  if (::testing::Test::HasFailure()) std::_Exit(kTraceFailed);
  std::exit(result);
}

std::vector<std::string> linesOf(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void pushQuit() {
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
}

const std::vector<std::string> kShutdownLines = {
    "Exiting...",           "Shutting down SDL_mixer...", "Shutting down SDL_Image...",
    "Shutting down SDL...", "Shutting down...",           "What?"};

// The frame after the title has faded in: 60 black frames, the capture, the new picture and
// the 20 fade frames.
constexpr int kTitleShown = 60 + 1 + 1 + 20 + 1;

class WholeGame : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    assets = TestAssets::directory();
    output = transcriptPath();
  }
  void TearDown() override { fs::remove(output); }

  std::vector<std::string> tail(const std::vector<std::string>& lines, size_t count) {
    return std::vector<std::string>(lines.end() - std::min(count, lines.size()), lines.end());
  }

  std::string assets;
  std::string output;
};

// 60 black frames, the title fading in over 20, its first frame, then 90 frames of fade to
// black after ESC.
void expectBlackFramesTitleAndFadeOut(const PlayTrace& trace) {
  expectScreenSteps(trace.shown, {flips(60), capture(), fade(20), flips(1), capture(), fade(90)});
  for (size_t present = 0; present <= 60 && present < trace.shown.size(); ++present) {
    const SDL_Color shown = trace.shown[present].probe;
    EXPECT_EQ(0, shown.r + shown.g + shown.b) << "present " << present + 1 << " is black";
  }
}

TEST_F(WholeGame, EscapeOnTheTitleEndsWithTheFullTranscript) {
  EXPECT_EXIT(playWholeGame(
                  assets, output,
                  [](int present, ScriptedInput& input) {
                    if (present == kTitleShown) input.hold(SDL_SCANCODE_ESCAPE);
                  },
                  expectBlackFramesTitleAndFadeOut),
              ::testing::ExitedWithCode(0), "");
  const std::vector<std::string> lines = linesOf(output);
  ASSERT_GE(lines.size(), 70u);
  EXPECT_EQ("Tarnwick starting...", lines[0]);
  EXPECT_EQ("Map creating", lines[1]);
  EXPECT_EQ(0u, lines[2].rfind("Map created ", 0));
  EXPECT_EQ("Loading all assets...", lines[3]);
  EXPECT_EQ("Configuration loaded", lines[4]);
  EXPECT_EQ("Loading asset enemy(assets/images/enemy.png)", lines[5]) << "bitmaps in name order";
  EXPECT_EQ("Loading asset damage(assets/sound/damage.wav)", lines[5 + 49])
      << "then the sounds, in name order";
  EXPECT_EQ("All assets loaded.", lines[5 + 49 + 5]);
  std::vector<std::string> ending = {"Sprite created!", "Sprite destructed!",
                                     "Destroyed drawable!"};
  ending.insert(ending.end(), kShutdownLines.begin(), kShutdownLines.end());
  ending.push_back("Tarnwick exiting code 0");
  EXPECT_EQ(ending, tail(lines, ending.size()));
  EXPECT_EQ(60u + ending.size(), lines.size());
}

TEST_F(WholeGame, ClosingTheWindowShutsDownWithoutTheExitLine) {
  EXPECT_EXIT(playWholeGame(assets, output,
                            [](int present, ScriptedInput&) {
                              if (present == kTitleShown + 10) pushQuit();
                            }),
              ::testing::ExitedWithCode(0), "");
  std::vector<std::string> ending = {"Caught Exit!"};
  ending.insert(ending.end(), kShutdownLines.begin(), kShutdownLines.end());
  EXPECT_EQ(ending, tail(linesOf(output), ending.size()));
}

TEST_F(WholeGame, SpaceOnTheTitleStartsStageOne) {
  EXPECT_EXIT(playWholeGame(assets, output,
                            [](int present, ScriptedInput& input) {
                              if (present == kTitleShown) input.hold(SDL_SCANCODE_SPACE);
                              if (present == kTitleShown + 200) pushQuit();
                            }),
              ::testing::ExitedWithCode(0), "");
  const std::vector<std::string> lines = linesOf(output);
  EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), "Hud created!"));
  EXPECT_NE(lines.end(),
            std::find(lines.begin(), lines.end(), "0.000000 0.000000 50.000000 1.765625"))
      << "stage 1's floor is laid out";
}

TEST_F(WholeGame, FailedStartUpSaysWhyOnStandardError) {
  EXPECT_EXIT(playWholeGame(
                  assets, output, [](int, ScriptedInput&) {}, nullptr, "no-such-driver"),
              ::testing::ExitedWithCode(255), "Tarnwick: SDL_Init failed: .+");
  EXPECT_EQ((std::vector<std::string>{"Tarnwick starting...", "Tarnwick exiting code -1"}),
            linesOf(output));
}

// A machine without sound: SDL's file-writing audio driver aimed at a directory that does not
// exist, so that the device cannot be opened, and a sound system SDL does not have at all.
TEST_F(WholeGame, WithoutSoundThePlayerIsToldOnceAndTheTitlePlaysSilently) {
  setenv("SDL_DISKAUDIOFILE", "/nonexistent/tarnwick-sound", 1);
  constexpr int kSounds = 5;
  for (const char* audioDriver : {"disk", "no-such-sound-system"}) {
    EXPECT_EXIT(playWholeGame(
                    assets, output,
                    [](int present, ScriptedInput& input) {
                      if (present == kTitleShown) input.hold(SDL_SCANCODE_ESCAPE);
                    },
                    nullptr, "dummy", audioDriver),
                ::testing::ExitedWithCode(0),
                ::testing::MatchesRegex("Tarnwick: no audio device: playing without sound "
                                        "\\([^\n]+\\)\n"))
        << audioDriver;
    const std::vector<std::string> lines = linesOf(output);
    ASSERT_GE(lines.size(), 5u + 49 + 2 * kSounds);
    for (int sound = 0; sound < kSounds; ++sound) {
      const std::string& loading = lines[5 + 49 + 2 * sound];  // "Loading asset name(path)"
      const size_t pathStart = loading.find('(') + 1;
      const std::string path = loading.substr(pathStart, loading.size() - pathStart - 1);
      EXPECT_EQ("Loading " + path + " error!", lines[5 + 49 + 2 * sound + 1])
          << "each sound fails to load, with the game's own line";
    }
    EXPECT_EQ("All assets loaded.", lines[5 + 49 + 2 * kSounds]);
    // As with sound (60 lines up to the title, 10 after), with the five failed sounds' lines.
    EXPECT_EQ(60u + 10 + kSounds, lines.size()) << "nothing else is added to the log";
    EXPECT_EQ("Tarnwick exiting code 0", lines.back());
  }
}

class BrokenAssetList : public WholeGame {
 protected:
  // Runs the game over an asset list with the given text; expects the clean failure.
  void expectRefused(const std::string& listText, const std::string& stderrPattern) {
    const fs::path dir =
        fs::temp_directory_path() / ("tarnwick-broken-" + std::to_string(getpid()));
    fs::create_directories(dir / "assets");
    std::ofstream(dir / "assets" / "assets_list.json") << listText;
    EXPECT_EXIT(playWholeGame(dir.string(), output, [](int, ScriptedInput&) {}),
                ::testing::ExitedWithCode(255), stderrPattern);
    std::vector<std::string> ending = kShutdownLines;
    ending.push_back("Tarnwick exiting code -1");
    EXPECT_EQ(ending, tail(linesOf(output), ending.size()));
    fs::remove_all(dir);
  }
};

TEST_F(BrokenAssetList, EndsTheGameAtStartUpWithAClearMessage) {
  expectRefused("{ not json", "assets/assets_list.json: not a readable JSON text");
  expectRefused("[1, 2]", "assets/assets_list.json: the root must be an object, not array");
  expectRefused(R"({"bitmap": "title.png"})", "\"bitmap\" must be an object of asset names");
  expectRefused(R"({"bitmap": {"title": 5}})", "entry \"title\" must name a file as a string");
  expectRefused(R"({"bitmap": {"title": "images/title.png"}})",
                "lacks bitmap \"gameover\", bitmap \"hud\",.* sound \"serval_cat_atk_long\"");
}

TEST_F(BrokenAssetList, MissingListIsNamed) {
  const fs::path dir = fs::temp_directory_path() / ("tarnwick-empty-" + std::to_string(getpid()));
  fs::create_directories(dir);
  EXPECT_EXIT(playWholeGame(dir.string(), output, [](int, ScriptedInput&) {}),
              ::testing::ExitedWithCode(255), "assets/assets_list.json cannot be opened");
  fs::remove_all(dir);
}

}  // namespace
