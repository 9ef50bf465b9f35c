// The board on in-memory elements as a target of the model test: clicks on
// selectors and buttons the way a window delivers them, and the rules of what
// the board shows that hold whatever the model says.
#pragma once

#include <cstdint>
#include <string>

#include "board/memory_elements.h"
#include "tests/model.h"

namespace model {

// "" or a count without sign or leading zeros; -1 for anything else.
inline int CountIn(const std::string& text) {
  if (text.empty()) return 0;
  if (text.size() > 2 || (text.size() > 1 && text[0] == '0')) return -1;
  int n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    n = 10 * n + (c - '0');
  }
  return n;
}

class MemoryTarget : public model::Target {
 public:
  explicit MemoryTarget(char separator = '.') : b(separator), separator_(separator) {}

  void Select(int cell) override {
    // As an option group does: the clicked selector alone is on.
    for (int c = 0; c < board::kCells; ++c) b.selectors[Index(c)].value = c == cell;
    b.board.SelectedCell = static_cast<std::int16_t>(cell);
  }
  void Press(int button) override {
    if (button < 2 && !b.pouring[Index(button)].enabled) return;  // a disabled button is not clicked
    switch (button) {
      case 0: b.board.FullToHalves(); break;
      case 1: b.board.HalvesToFull(); break;
      case 2: b.board.ClearBoard(); break;
      case 3: b.board.PlaceBottle(); break;
      case 4: b.board.ReturnBottle(); break;
      default: break;
    }
  }
  bool Enabled(int button) override { return b.pouring[Index(button)].enabled; }
  int PoolCount(int kind) override {
    const auto& entries = b.pools[Index(kind)].entries;
    for (const auto& e : entries) {
      if (e != "1") return -1;
    }
    return static_cast<int>(entries.size());
  }
  std::string Cell(int cell) override { return b.cells[Index(cell)].text; }
  std::string Summary(int table) override { return b.summaries[Index(table)].caption; }
  int SelectedCell() override { return b.board.SelectedCell; }

  // What the board shows must hold together on its own, whatever the model
  // says: cells hold counts, a summary that was written adds up its table's
  // cells, and a selection is the one selector that is on. Clearing leaves
  // the summaries as they were, so only a table with a written cell is held
  // to its summary.
  std::string Check() override {
    std::string wrong;
    for (int t = 0; t < board::kTables; ++t) {
      int count = 0;
      int halves = 0;
      bool written = false;
      for (int k = 0; k < board::kKinds; ++k) {
        const std::string text = Cell(3 * t + k);
        const int n = CountIn(text);
        if (n < 0) wrong += " cell" + std::to_string(3 * t + k) + " holds no count";
        written = written || !text.empty();
        count += n;
        halves += n * (2 - k);
      }
      if (!written) continue;
      const std::string summary = Summary(t);
      std::string volume = std::to_string(halves / 2);
      if (halves % 2 != 0) volume += std::string(1, separator_) + "5";
      const std::string want = " = " + std::to_string(count) + " / " + volume;
      if (summary != want) wrong += " summary" + std::to_string(t) + " '" + summary + "' for cells adding up to '" + want + "'";
    }
    for (int c = 0; c < board::kCells; ++c) {
      const bool on = b.selectors[Index(c)].value;
      if (on != (c == b.board.SelectedCell)) wrong += " selector" + std::to_string(c) + (on ? " on" : " off");
    }
    if (b.pouring[0].enabled != b.pouring[1].enabled) wrong += " the pouring buttons disagree";
    return wrong;
  }

  board::MemoryBoard b;

 private:
  char separator_;
  static std::size_t Index(int i) { return static_cast<std::size_t>(i); }
};

}  // namespace model
