// The whole games of games.txt as GoogleTest cases, one case a game, on the
// front end of the test program that includes this (once): it defines
// MakeDriver(), and the same games run on every back end.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

#include "tests/scenarios/games.h"
#include "tests/scenarios/games_text.h"

namespace scenarios {

// A new window of the program's front end, loaded, as a Driver.
std::unique_ptr<Driver> MakeDriver();

inline std::vector<Game> Games() { return Parse(kGamesText); }

// A back end's window fixture (a model::Target that also tells which
// selectors are on and whether an error was reported) as a Driver.
template <class Fixture>
class FixtureDriver : public Driver {
 public:
  FixtureDriver() { EXPECT_TRUE(g_.loaded); }
  void Click(const std::string& array, int index) override {
    if (array == "Option1") {
      g_.Select(index);
    } else {
      ASSERT_EQ(array, "Command1");
      g_.Press(index);
    }
  }
  int PoolCount(int kind) override { return g_.PoolCount(kind); }
  std::string Cell(int cell) override { return g_.Cell(cell); }
  std::string Summary(int table) override { return g_.Summary(table); }
  bool Enabled(int button) override { return g_.Enabled(button); }
  bool Selected(int cell) override { return g_.Checked(cell); }
  int SelectedCell() override { return g_.form.Board().SelectedCell; }
  bool Reported() override { return g_.report.has_value(); }

 private:
  Fixture g_;
};

// A game names itself in the test's output.
inline void PrintTo(const Game& game, std::ostream* out) { *out << game.name; }

class ScenarioTest : public testing::TestWithParam<Game> {};

TEST_P(ScenarioTest, PlaysAsWritten) {
  const std::unique_ptr<Driver> driver = MakeDriver();
  ASSERT_FALSE(GetParam().steps.empty());
  for (const Step& step : GetParam().steps) EXPECT_EQ(Play(*driver, step), "");
  EXPECT_FALSE(driver->Reported());
}

TEST(ScenarioFileTest, AQuotedWordKeepsItsBlanks) {
  EXPECT_EQ(Words(R"(expect Label3 1 " = 1 / 0.5")"),
            (std::vector<std::string>{"expect", "Label3", "1", " = 1 / 0.5"}));
}

INSTANTIATE_TEST_SUITE_P(Games, ScenarioTest, testing::ValuesIn(Games()),
                         [](const testing::TestParamInfo<Game>& info) { return info.param.name; });

}  // namespace scenarios
