#include "app/screen_frames.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/app_context.h"
#include "app/transition.h"
#include "graphics/bitmap.h"
#include "graphics/sprite.h"
#include "support/frame_script.h"
#include "support/game_test.h"

namespace {

constexpr SDL_Color kWhite{255, 255, 255, 255};

// Records every present: how many, and the red level of one pixel of the picture presented.
class PresentLog {
 public:
  PresentLog() {
    setPresentObserver([this] { reds.push_back(GameTest::pixelOfTarget(400, 300).r); });
  }
  ~PresentLog() { setPresentObserver(nullptr); }
  std::vector<Uint8> reds;
};

class ScreenFrames : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    white = new Bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    white->clear(kWhite);
    sprite = new TarnwickApp::Sprite();
  }
  void TearDown() override {
    delete sprite;
    delete white;
    GameTest::TearDown();
  }

  // Fades from black to a white screen and returns the red level of every fade frame.
  std::vector<Uint8> fadeFromBlackToWhite(int frames) {
    sprite->setShown(false);
    playOut(Transition().capture());
    sprite->setBitmap(white, true);
    PresentLog log;
    playOut(Transition().fade(frames));
    EXPECT_EQ(static_cast<size_t>(frames) + 1, log.reds.size())
        << "one present for the new picture, then one per fade frame";
    return std::vector<Uint8>(log.reds.begin() + 1, log.reds.end());
  }

  Bitmap* white = nullptr;
  TarnwickApp::Sprite* sprite = nullptr;
};

TEST_F(ScreenFrames, TwentyFrameFadeRunsThroughTheKnownAlphas) {
  const std::vector<Uint8> expected = {0,   13,  26,  38,  51,  64,  77,  89,  102, 115,
                                       128, 140, 153, 166, 179, 191, 204, 217, 230, 242};
  EXPECT_EQ(expected, fadeFromBlackToWhite(20));
  EXPECT_FALSE(screenFrozen());
  EXPECT_EQ(nullptr, capturedScreen());
}

TEST_F(ScreenFrames, LongFadesNeverReachFullStrength) {
  const std::vector<Uint8> ninety = fadeFromBlackToWhite(90);
  EXPECT_EQ((std::vector<Uint8>{246, 249, 252}),
            std::vector<Uint8>(ninety.end() - 3, ninety.end()));
  const std::vector<Uint8> hundred = fadeFromBlackToWhite(100);
  EXPECT_EQ((std::vector<Uint8>{247, 250, 252}),
            std::vector<Uint8>(hundred.end() - 3, hundred.end()));
  const std::vector<Uint8> longest = fadeFromBlackToWhite(120);
  EXPECT_EQ((std::vector<Uint8>{0, 2, 4, 6, 9}),
            std::vector<Uint8>(longest.begin(), longest.begin() + 5));
  EXPECT_EQ((std::vector<Uint8>{249, 251, 253}),
            std::vector<Uint8>(longest.end() - 3, longest.end()));
}

TEST_F(ScreenFrames, FadeWithoutCaptureDoesNothing) {
  PresentLog log;
  playOut(Transition().fade(20));
  EXPECT_TRUE(log.reds.empty());
  EXPECT_FALSE(screenFrozen());
}

TEST_F(ScreenFrames, WaitingPresentsOneFramePerFlipUnlessFrozen) {
  PresentLog log;
  playOut(Transition().hold(60));
  EXPECT_EQ(60u, log.reds.size());
  EXPECT_EQ(0, log.reds.back()) << "an empty draw list is black";
  playOut(Transition().capture());
  EXPECT_EQ(61u, log.reds.size()) << "the capture renders once";
  playOut(Transition().hold(5));
  EXPECT_EQ(61u, log.reds.size()) << "flips while frozen present nothing";
  playOut(Transition().hold(0));
  playOut(Transition().fade(1));
}

TEST_F(ScreenFrames, SecondCaptureReplacesTheHeldPicture) {
  playOut(Transition().capture());
  const Bitmap* first = capturedScreen();
  playOut(Transition().capture());
  EXPECT_NE(nullptr, capturedScreen());
  EXPECT_TRUE(screenFrozen());
  EXPECT_NE(first, capturedScreen()) << "the earlier picture is released (ASan would see a leak)";
  playOut(Transition().fade(1));
}

TEST_F(ScreenFrames, DrawableHiddenAfterCaptureFadesOut) {
  sprite->setBitmap(white, true);
  playOut(Transition().capture());
  sprite->setShown(false);
  PresentLog log;
  playOut(Transition().fade(20));
  EXPECT_EQ(255, log.reds[1]) << "the fade starts from the captured white picture";
  EXPECT_EQ(255 - 242, log.reds.back());
}

}  // namespace
