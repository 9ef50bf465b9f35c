// The whole games of games.txt for C++ tests: the file (built into the test
// programs, tests/scenarios/games_text.h) read into steps, and each step
// played on a Driver, which any front end can be (the in-memory controls,
// Qt widgets, Win32 controls). GoogleTest-free: a step that does not hold
// returns what differs.
#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace scenarios {

struct Step {
  int line;                        // in games.txt
  std::vector<std::string> words;  // a quoted text is one word, unquoted
};

struct Game {
  std::string name;
  std::vector<Step> steps;
};

// What a front end offers the games: a user's click and what is shown.
class Driver {
 public:
  virtual ~Driver() = default;
  virtual void Click(const std::string& array, int index) = 0;  // none on a disabled button
  virtual int PoolCount(int kind) = 0;
  virtual std::string Cell(int cell) = 0;
  virtual std::string Summary(int table) = 0;
  virtual bool Enabled(int button) = 0;
  virtual bool Selected(int cell) = 0;  // the selector shows it is on
  virtual int SelectedCell() = 0;
  virtual bool Reported() = 0;  // an error left a handler and was reported
};

inline std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  for (std::size_t i = 0; i < line.size();) {
    if (line[i] == ' ') {
      ++i;
      continue;
    }
    const bool quoted = line[i] == '"';
    const std::size_t end = std::min(line.find(quoted ? '"' : ' ', i + 1), line.size());
    words.push_back(line.substr(i + (quoted ? 1 : 0), end - i - (quoted ? 1 : 0)));
    i = end + (quoted ? 1 : 0);
  }
  return words;
}

inline std::vector<Game> Parse(const std::string& text) {
  std::istringstream in(text);
  std::vector<Game> games;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> words = Words(line);
    if (words[0] == "game") {
      games.push_back({words.at(1), {}});
    } else if (!games.empty()) {
      games.back().steps.push_back({number, std::move(words)});
    }
  }
  return games;
}

// Plays one step: empty when it holds, else the line and what differs.
inline std::string Play(Driver& d, const Step& step) {
  const auto& w = step.words;
  const auto n = [&w](std::size_t i) { return std::stoi(w.at(i)); };
  if (w[0] == "click") {
    for (int t = 0; t < (w.size() > 3 ? n(3) : 1); ++t) d.Click(w.at(1), n(2));
    return {};
  }
  std::ostringstream have, want;
  const std::string& what = w.at(1);
  if (w[0] != "expect") {
    return "games.txt line " + std::to_string(step.line) + ": no such step " + w[0];
  } else if (what == "pools") {
    for (int k = 0; k < 3; ++k) have << d.PoolCount(k) << ' ';
    for (std::size_t k = 2; k < 5; ++k) want << w.at(k) << ' ';
  } else if (what == "cells" || what == "summaries") {
    for (std::size_t i = 2; i < w.size(); ++i) {
      const int index = static_cast<int>(i - 2);
      have << '"' << (what == "cells" ? d.Cell(index) : d.Summary(index)) << "\" ";
      want << '"' << w[i] << "\" ";
    }
  } else if (what == "Text2" || what == "Label3") {
    have << (what == "Text2" ? d.Cell(n(2)) : d.Summary(n(2)));
    want << w.at(3);
  } else if (what == "enabled") {
    have << (d.Enabled(n(2)) ? "yes" : "no");
    want << w.at(3);
  } else if (what == "selected") {
    std::string on;  // every selector that is on
    for (int i = 0; i < 9; ++i) {
      if (d.Selected(i)) on += std::to_string(i);
    }
    have << (on.empty() ? "-1" : on) << ", SelectedCell " << d.SelectedCell();
    want << w.at(2) << ", SelectedCell " << w.at(2);
  } else {
    want << "a known expectation";
  }
  if (have.str() == want.str()) return {};
  return "games.txt line " + std::to_string(step.line) + ": have " + have.str() + ", want " + want.str();
}

}  // namespace scenarios
