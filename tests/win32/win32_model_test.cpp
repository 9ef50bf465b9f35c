// The board on real Win32 controls against the reference model: random
// clicks on the selectors and buttons, and after each one what the list
// boxes, edits, labels and buttons show, compared with the model.
#include <gtest/gtest.h>

#include "tests/model.h"
#include "tests/win32/win32_fixture.h"

namespace {

TEST(Win32ModelTest, RandomClicksAgreeWithTheReference) {
  win32_test::Game game("");
  ASSERT_TRUE(game.loaded);
  const std::string separator = game.window.DecimalSeparator();
  EXPECT_EQ(model::Play(game, separator, 20261209u, 25'000), "");
}

TEST(Win32ModelTest, AnotherSeparatorAgreesToo) {
  win32_test::Game game("\u066B");
  EXPECT_EQ(model::Play(game, "\u066B", 11u, 5'000), "");
}

}  // namespace
