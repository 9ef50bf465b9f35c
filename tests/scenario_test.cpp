// The whole games of tests/scenarios/games.txt played on the in-memory
// controls, through the same frame of events a window uses: each game is
// its own test case.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "forms/events.h"
#include "forms/memory_controls.h"
#include "window/main_form.h"

namespace {

struct Game {
  std::string name;
  std::vector<std::vector<std::string>> steps;  // words; quoted texts unquoted
  std::vector<int> lines;
};

// Splits a line into words; "..." is one word, without its quotes.
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  for (std::size_t i = 0; i < line.size();) {
    if (line[i] == ' ') {
      ++i;
    } else if (line[i] == '"') {
      const std::size_t end = line.find('"', i + 1);
      words.push_back(line.substr(i + 1, end - i - 1));
      i = end == std::string::npos ? line.size() : end + 1;
    } else {
      const std::size_t end = std::min(line.find(' ', i), line.size());
      words.push_back(line.substr(i, end - i));
      i = end;
    }
  }
  return words;
}

std::vector<Game> LoadGames() {
  std::ifstream in(BOTTLES_SOURCE_DIR "/tests/scenarios/games.txt");
  std::vector<Game> games;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> words = Words(line);
    if (words[0] == "game") {
      games.push_back({words.at(1), {}, {}});
    } else if (!games.empty()) {
      games.back().steps.push_back(std::move(words));
      games.back().lines.push_back(number);
    }
  }
  return games;
}

// MainForm on memory controls inside the frame every back end shares; an
// error ends it as it would end the program.
class MemoryForm : public forms::MemoryControls, public forms::FormEvents {
 public:
  MemoryForm() : MemoryControls(MainForm::Description()), FormEvents(MainForm::Description()) {}
  std::optional<forms::ErrorReport> error;

 protected:
  void EndWithError(const forms::ErrorReport& report) override { error = report; }
};

class Player {
 public:
  Player() : main(form, '.') { EXPECT_TRUE(form.Load(main)); }

  // A click as a window delivers it: a disabled button takes none, and an
  // option group turns on the clicked selector alone.
  void Click(const std::string& array, int index) {
    const forms::Form& description = MainForm::Description();
    const int row = forms::FindControl(description, array, index);
    ASSERT_GE(row, 0) << array << " " << index;
    if (array == "Command1" && !form.Switch(array, index).Enabled()) return;
    if (array == "Option1") {
      for (int i = 0; i < 9; ++i) form.Option(array, i).SetValue(i == index);
    }
    form.Click(description.controls[static_cast<std::size_t>(row)]);
  }

  // What the step expects, compared with what is shown; empty when equal.
  std::string Check(const std::vector<std::string>& w) {
    std::ostringstream have;
    std::ostringstream want;
    const std::string& what = w.at(1);
    if (what == "pools") {
      for (int k = 0; k < 3; ++k) have << form.List("List1", k).Count() << ' ';
      for (int k = 0; k < 3; ++k) want << w.at(2 + static_cast<std::size_t>(k)) << ' ';
    } else if (what == "cells" || what == "summaries") {
      const int n = what == "cells" ? 9 : 3;
      for (int i = 0; i < n; ++i) {
        have << '"' << Shown(what == "cells" ? "Text2" : "Label3", i) << "\" ";
        want << '"' << w.at(2 + static_cast<std::size_t>(i)) << "\" ";
      }
    } else if (what == "Text2" || what == "Label3") {
      have << Shown(what, std::stoi(w.at(2)));
      want << w.at(3);
    } else if (what == "enabled") {
      have << (form.Switch("Command1", std::stoi(w.at(2))).Enabled() ? "yes" : "no");
      want << w.at(3);
    } else if (what == "selected") {
      std::string on;  // every selector that is on
      for (int i = 0; i < 9; ++i) {
        if (form.Option("Option1", i).Value()) on += std::to_string(i);
      }
      have << (on.empty() ? "-1" : on) << ", SelectedCell " << main.Board().SelectedCell;
      want << w.at(2) << ", SelectedCell " << w.at(2);
    } else {
      return "no such expectation: " + what;
    }
    return have.str() == want.str() ? std::string() : "have " + have.str() + ", want " + want.str();
  }

  MemoryForm form;
  MainForm main;

 private:
  std::string Shown(const std::string& array, int index) {
    if (array == "Text2") return form.Get<board::MemoryText>(array, index).text;
    return form.Get<board::MemoryCaption>(array, index).caption;
  }
};

class ScenarioTest : public testing::TestWithParam<Game> {};

TEST_P(ScenarioTest, PlaysAsWritten) {
  const Game& game = GetParam();
  Player player;
  ASSERT_FALSE(game.steps.empty());
  for (std::size_t i = 0; i < game.steps.size(); ++i) {
    const auto& w = game.steps[i];
    SCOPED_TRACE("games.txt line " + std::to_string(game.lines[i]));
    if (w[0] == "click") {
      const int times = w.size() > 3 ? std::stoi(w[3]) : 1;
      for (int t = 0; t < times; ++t) player.Click(w.at(1), std::stoi(w.at(2)));
    } else {
      ASSERT_EQ(w[0], "expect");
      EXPECT_EQ(player.Check(w), "");
    }
  }
  EXPECT_FALSE(player.form.error.has_value());
}

TEST(ScenarioFileTest, HoldsTheGames) {
  const std::vector<Game> games = LoadGames();
  ASSERT_GE(games.size(), 6u);
  EXPECT_EQ(games[1].name, "worked_example");
}

INSTANTIATE_TEST_SUITE_P(Games, ScenarioTest, testing::ValuesIn(LoadGames()),
                         [](const testing::TestParamInfo<Game>& info) { return info.param.name; });

// The frame's end after an error: the report is the desktop's, and no
// event reaches the handlers afterwards.
TEST(FormEventsTest, AnErrorEndsTheFormAndLaterClicksAreNotHandled) {
  Player player;
  player.Click("Option1", 4);
  player.form.Get<board::MemoryText>("Text2", 4).text = "40000";
  player.Click("Command1", 3);
  ASSERT_TRUE(player.form.error.has_value());
  EXPECT_EQ(player.form.error->title, u"Философия - Логика");
  EXPECT_EQ(player.form.error->message.rfind(u"Грешка при изпълнение 6:\n\n", 0), 0u);
  EXPECT_TRUE(player.form.Ended());
  player.Click("Command1", 2);  // "Чисти" would refill the pools
  EXPECT_EQ(player.form.List("List1", 1).Count(), 6);
}

}  // namespace
