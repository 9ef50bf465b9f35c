// What the user sees of a game on any front end, to compare before and
// after an input, and how to get a game to where a button has work to do.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tests/model.h"

namespace model {

struct Shown {
  std::vector<int> pools;
  std::vector<std::string> cells;
  std::vector<std::string> summaries;
  int selected;
  bool pouring;
  bool operator==(const Shown&) const = default;
};

// For GoogleTest's failure messages.
inline void PrintTo(const Shown& s, std::ostream* out) {
  *out << "pools " << s.pools[0] << "/" << s.pools[1] << "/" << s.pools[2] << ", cells";
  for (const std::string& cell : s.cells) *out << " '" << cell << "'";
  *out << ", summaries";
  for (const std::string& summary : s.summaries) *out << " '" << summary << "'";
  *out << ", selected " << s.selected << (s.pouring ? ", pouring" : "");
}

inline Shown ShownOf(Target& t) {
  Shown s{{t.PoolCount(0), t.PoolCount(1), t.PoolCount(2)}, {}, {}, t.SelectedCell(), t.Enabled(0)};
  for (int c = 0; c < 9; ++c) s.cells.push_back(t.Cell(c));
  for (int table = 0; table < 3; ++table) s.summaries.push_back(t.Summary(table));
  return s;
}

// Button `b` then changes what is shown: there is something to pour, to
// clear, a selected cell to place on or to return from.
inline void ReadyFor(Target& t, int b) {
  if (b == 2) t.Press(0);
  if (b >= 3) t.Select(4);
  if (b == 4) t.Press(3);
}

}  // namespace model
