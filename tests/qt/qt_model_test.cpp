// The random model test on real Qt widgets: every event is a mouse click on
// a selector or a button, and what the widgets show is compared with the
// reference model after each one.
#include <gtest/gtest.h>

#include "tests/qt/qt_fixture.h"

namespace {

class CheckedGame : public qt_test::Game {
 public:
  std::string Check() override {
    std::string wrong;
    if (W("Text1", 1)->isVisible()) wrong += " the quotation is visible";
    if (report) wrong += " an error was reported";
    // The selector clicked last is the one shown selected, and only it.
    for (int c = 0; c < 9; ++c) {
      const bool checked = As<QRadioButton>("Option1", c)->isChecked();
      if (checked != (c == form.Board().SelectedCell)) wrong += " selector " + std::to_string(c);
    }
    return wrong;
  }
};

TEST(QtModelTest, RandomClicksOnRealWidgetsAgreeWithTheReference) {
  CheckedGame game;
  ASSERT_TRUE(game.loaded);
  EXPECT_EQ(model::Play(game, ".", 4242u, model::Events(20'000)), "");
}

}  // namespace
