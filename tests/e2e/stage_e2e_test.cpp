// Stage 1 played in the real game: run through into stage 2, and the window closed mid-stage.

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <vector>

#include "e2e/play_steps.h"
#include "e2e/real_game.h"

namespace {

constexpr double kWalkSeconds = 1.0;
// Mean brightness (0 to 255) above which a part of the screen is not black.
constexpr double kNotBlack = 20.0;
// The round health gauge in the top-left corner, around its centre (95, 95).
constexpr SDL_Rect kGauge{65, 65, 60, 60};
// The world below the overlay.
constexpr SDL_Rect kWorld{0, 200, 800, 400};
constexpr int kStage2Boxes = 17;

std::vector<std::string> linesAfter(const std::string& log, const std::string& marker) {
  std::vector<std::string> lines;
  std::istringstream in(log.substr(log.find(marker)));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The terrain boxes a stage build logs: a line of four corners in metres followed by a line of
// the first corner's screen position, other lines in between skipped.
std::vector<std::pair<std::string, std::string>> terrainBoxes(
    const std::vector<std::string>& lines) {
  const std::regex corners(R"(-?\d+\.\d{6}( -?\d+\.\d{6}){3})");
  const std::regex screenPoint(R"(-?\d+ -?\d+)");
  std::vector<std::pair<std::string, std::string>> boxes;
  std::string pendingCorners;
  for (const std::string& line : lines) {
    if (std::regex_match(line, corners)) {
      pendingCorners = line;
    } else if (!pendingCorners.empty() && std::regex_match(line, screenPoint)) {
      boxes.emplace_back(pendingCorners, line);
      pendingCorners.clear();
    }
  }
  return boxes;
}

void expectOverlayAndWorldShown(const ScreenPicture& picture, const std::string& name) {
  ASSERT_FALSE(picture.empty()) << "no screenshot at " << PlaySteps::screenshotPath(name);
  EXPECT_GT(picture.brightness(kGauge), kNotBlack)
      << "no health gauge in " << PlaySteps::screenshotPath(name);
  EXPECT_GT(picture.brightness(kWorld), kNotBlack)
      << "the world is black in " << PlaySteps::screenshotPath(name);
}

TEST(StageE2E, RunningRightThroughStage1TearsItDownAndBuildsStage2) {
  RealGame game;
  ASSERT_TRUE(PlaySteps::startStage1(game)) << game.log();
  ASSERT_TRUE(PlaySteps::runIntoStage2(game)) << "stage 1 never ended:\n" << game.log();

  const std::vector<std::string> teardown = linesAfter(game.log(), "Destroying virtual bitmap...");
  std::vector<std::string> steps;
  for (const std::string& line : teardown) {
    if (line.rfind("Destroying ", 0) == 0 || line == "~WorldContainer() done...") {
      steps.push_back(line);
    }
    if (line == "~WorldContainer() done...") break;
  }
  const std::vector<std::string> expectedSteps = {"Destroying virtual bitmap...",
                                                  "Destroying fixture containers...",
                                                  "Destroying entities...",
                                                  "Destroying walls...",
                                                  "Destroying HUD...",
                                                  "Destroying Player...",
                                                  "Destroying b2World...",
                                                  "~WorldContainer() done..."};
  EXPECT_EQ(expectedSteps, steps);

  const auto boxes = terrainBoxes(linesAfter(game.log(), "~WorldContainer() done..."));
  ASSERT_EQ(kStage2Boxes, static_cast<int>(boxes.size())) << game.log();
  EXPECT_EQ("0.000000 0.000000 4.953125 1.234375", boxes.front().first);
  EXPECT_EQ("0 600", boxes.front().second);
  EXPECT_EQ("47.031250 8.078125 49.796875 8.703125", boxes.back().first);
  EXPECT_EQ("3010 83", boxes.back().second);

  expectOverlayAndWorldShown(PlaySteps::look(game, "stage2"), "stage2");
}

TEST(StageE2E, ClosingTheWindowMidStageShutsDownWithoutTheExitLine) {
  RealGame game;
  ASSERT_TRUE(PlaySteps::startStage1(game)) << game.log();
  game.holdKey("d", kWalkSeconds);
  expectOverlayAndWorldShown(PlaySteps::look(game, "stage1"), "stage1");

  game.closeWindow();
  EXPECT_EQ(0, game.waitForExit(PlaySteps::kEndSeconds));
  const std::string log = game.log();
  const std::string ending = std::string("Caught Exit!\n") + PlaySteps::kShutdownLines;
  EXPECT_EQ(ending, PlaySteps::lastChars(log, ending.size()));
  EXPECT_EQ(std::string::npos, log.find("Tarnwick exiting code"));
}

}  // namespace
