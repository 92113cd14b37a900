// The real game ended from outside, as a desktop session that ends ends it: its display goes
// away under it (the X server at a logout, a remote display that drops), at the title and in the
// middle of a stage, or it is sent a hang-up, an interrupt or a request to terminate. Every way
// ends it without a memory error, and its log says why.

#include <gtest/gtest.h>
#include <signal.h>

#include <cstring>
#include <string>

#include "e2e/play_steps.h"
#include "e2e/real_game.h"

namespace {

// What the C library and the sanitizers write when memory is freed twice or used after it is.
constexpr const char* kMemoryErrors[] = {"double free", "corrupted", "free(): ", "Sanitizer",
                                         "runtime error"};

void expectNoMemoryError(const RealGame& game) {
  const std::string errors = game.errors();
  for (const char* report : kMemoryErrors) {
    EXPECT_EQ(std::string::npos, errors.find(report)) << errors;
  }
}

// The display ends; the game ends at once, with status 0, its last line saying why.
void expectEndsSayingTheDisplayWasLost(RealGame& game) {
  game.endDisplay();
  EXPECT_EQ(0, game.waitForExit(PlaySteps::kEndSeconds)) << "an abort is -6, a crash -11";
  const std::string ending = "Display lost!\n";
  EXPECT_EQ(ending, PlaySteps::lastChars(game.log(), ending.size()));
  expectNoMemoryError(game);
}

TEST(SessionEndE2E, TheDisplayGoingAwayAtTheTitleEndsTheGameSayingWhy) {
  RealGame game;
  ASSERT_TRUE(PlaySteps::waitForTitle(game)) << game.log();
  expectEndsSayingTheDisplayWasLost(game);
}

TEST(SessionEndE2E, TheDisplayGoingAwayMidStageEndsTheGameSayingWhy) {
  RealGame game;
  ASSERT_TRUE(PlaySteps::startStage1(game)) << game.log();
  // Running towards the foes, its sounds playing, when the display goes.
  game.pressKeyDown("d");
  PlaySteps::holdRun(game, PlaySteps::Controls::KeyboardOnly, true);
  ASSERT_TRUE(game.waitForLogAfter("Hud created!", "Player hurt! 50.000000 1.000000",
                                   PlaySteps::kEndSeconds))
      << game.log();
  expectEndsSayingTheDisplayWasLost(game);
}

TEST(SessionEndE2E, HangUpInterruptAndTerminationEachShutDownAsAClosedWindowDoes) {
  for (const int signal : {SIGHUP, SIGINT, SIGTERM}) {
    RealGame game;
    ASSERT_TRUE(PlaySteps::waitForTitle(game)) << game.log();
    game.sendSignal(signal);
    EXPECT_EQ(0, game.waitForExit(PlaySteps::kEndSeconds)) << strsignal(signal);
    const std::string ending = std::string("Caught Exit!\n") + PlaySteps::kShutdownLines;
    EXPECT_EQ(ending, PlaySteps::lastChars(game.log(), ending.size())) << strsignal(signal);
    expectNoMemoryError(game);
  }
}

}  // namespace
