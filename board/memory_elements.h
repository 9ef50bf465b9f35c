// Elements kept in memory, so that the whole game runs without a window:
// in tests, fuzzers and benchmarks.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "board/board.h"
#include "board/errors.h"

namespace board {

class MemoryList : public List {
 public:
  int Count() const override { return static_cast<int>(entries.size()); }
  void Clear() override { entries.clear(); }
  void Append(std::string_view entry) override { entries.emplace_back(entry); }
  void RemoveAt(int index) override {
    if (index < 0 || index >= Count()) throw NoSuchElementError();
    entries.erase(entries.begin() + index);
  }
  std::vector<std::string> entries;
};

class MemoryText : public Text {
 public:
  std::string Get() const override { return text; }
  void Set(std::string_view t) override { text = t; }
  std::string text;
};

class MemoryCaption : public Caption {
 public:
  void SetCaption(std::string_view c) override { caption = c; }
  std::string caption;
};

class MemorySwitch : public Switch {
 public:
  bool Enabled() const override { return enabled; }
  void SetEnabled(bool e) override { enabled = e; }
  bool enabled = true;
};

class MemoryOption : public Option {
 public:
  bool Value() const override { return value; }
  void SetValue(bool v) override { value = v; }
  bool value = false;
};

// Every element of a board, in memory, and the board over them.
struct MemoryBoard : Locale {
  explicit MemoryBoard(std::string decimal_separator = ".")
      : separator(std::move(decimal_separator)), board(Wire(), *this) {}
  MemoryBoard(const MemoryBoard&) = delete;
  MemoryBoard& operator=(const MemoryBoard&) = delete;

  std::array<MemoryList, kKinds> pools;
  std::array<MemoryText, kCells> cells;
  std::array<MemoryOption, kCells> selectors;
  std::array<MemoryCaption, kTables> summaries;
  std::array<MemorySwitch, 2> pouring;
  std::string separator;  // the user's, which may change while the game runs
  Board board;
  std::string DecimalSeparator() const override { return separator; }

 private:
  Elements Wire() {
    Elements e{};
    for (std::size_t i = 0; i < e.pools.size(); ++i) e.pools[i] = &pools[i];
    for (std::size_t i = 0; i < e.cells.size(); ++i) e.cells[i] = &cells[i];
    for (std::size_t i = 0; i < e.selectors.size(); ++i) e.selectors[i] = &selectors[i];
    for (std::size_t i = 0; i < e.summaries.size(); ++i) e.summaries[i] = &summaries[i];
    for (std::size_t i = 0; i < e.pouring.size(); ++i) e.pouring[i] = &pouring[i];
    return e;
  }
};

}  // namespace board
