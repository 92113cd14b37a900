#include "graphics/draw_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_context.h"
#include "graphics/drawable.h"
#include "support/game_test.h"

namespace {

// A drawable that notes its name in a shared list when drawn.
class Marker : public TarnwickApp::Drawable {
 public:
  Marker(std::string name, std::vector<std::string>& drawn)
      : name_(std::move(name)), drawn_(drawn) {}
  void draw() override { drawn_.push_back(name_); }

 private:
  std::string name_;
  std::vector<std::string>& drawn_;
};

class DrawOrder : public GameTest {
 protected:
  std::vector<std::string> renderPass() {
    drawn.clear();
    for (TarnwickApp::Drawable* drawable : *drawList) drawable->draw();
    return drawn;
  }
  std::vector<std::string> drawn;
};

using Names = std::vector<std::string>;

TEST_F(DrawOrder, EqualDepthDrawsInOrderOfShowing) {
  Marker a("a", drawn), b("b", drawn);
  a.setShown(true);
  b.setShown(true);
  EXPECT_EQ((Names{"a", "b"}), renderPass());
  a.setShown(true);
  EXPECT_EQ((Names{"a", "b"}), renderPass()) << "showing again moves nothing";
  a.setShown(false);
  a.setShown(true);
  EXPECT_EQ((Names{"b", "a"}), renderPass());
}

TEST_F(DrawOrder, SetZRaisesToTheTopOfTheLayer) {
  Marker a("a", drawn), b("b", drawn), top("top", drawn);
  top.setZ(100000);
  top.setShown(true);
  a.setShown(true);
  b.setShown(true);
  EXPECT_EQ((Names{"a", "b", "top"}), renderPass());
  a.setZ(0);
  EXPECT_EQ((Names{"b", "a", "top"}), renderPass());
}

TEST_F(DrawOrder, HiddenDrawablesStayOutUntilShown) {
  Marker a("a", drawn), hidden("hidden", drawn);
  a.setShown(true);
  hidden.setZ(-5);
  EXPECT_EQ((Names{"a"}), renderPass());
  hidden.setShown(true);
  EXPECT_EQ((Names{"hidden", "a"}), renderPass());
}

TEST_F(DrawOrder, DestroyedDrawableLeavesTheList) {
  Marker a("a", drawn);
  a.setShown(true);
  {
    Marker gone("gone", drawn);
    gone.setShown(true);
    EXPECT_EQ(2u, drawList->size());
  }
  EXPECT_EQ((Names{"a"}), renderPass());
}

}  // namespace
