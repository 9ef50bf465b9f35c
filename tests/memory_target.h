// MainForm on the in-memory controls as a target of the model test: clicks on
// selectors and buttons delivered as a window delivers them, and the rules of
// what the form shows that hold whatever the model says.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "board/memory_elements.h"
#include "forms/memory_controls.h"
#include "tests/model.h"
#include "window/main_form.h"

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
  explicit MemoryTarget(const std::string& separator = ".")
      // What each move changed is not worked out: a million events of the
      // game against the model, the words are main_form_test's.
      : controls(MainForm::Description(), separator, false), form(controls, controls), separator_(separator) {
    loaded = controls.Load(form);
    for (int c = 0; c < board::kCells; ++c) {
      cells_[Index(c)] = &controls.Text("Text2", c);
      selectors_[Index(c)] = &controls.Option("Option1", c);
    }
    for (int i = 0; i < board::kKinds; ++i) pools_[Index(i)] = &controls.Get<board::MemoryList>("List1", i);
    for (int i = 0; i < board::kTables; ++i) summaries_[Index(i)] = &controls.Get<board::MemoryCaption>("Label3", i);
    for (int i = 0; i < 2; ++i) pouring_[Index(i)] = &controls.Switch("Command1", i);
  }

  void Select(int cell) override { controls.Click("Option1", cell); }
  void Press(int button) override { controls.Click("Command1", button); }
  bool Enabled(int button) override {
    return button < 2 ? pouring_[Index(button)]->Enabled() : controls.Switch("Command1", button).Enabled();
  }
  int PoolCount(int kind) override {
    const auto& entries = pools_[Index(kind)]->entries;
    for (const auto& e : entries) {
      if (e != "1") return -1;
    }
    return static_cast<int>(entries.size());
  }
  std::string Cell(int cell) override { return cells_[Index(cell)]->Get(); }
  std::string Summary(int table) override { return summaries_[Index(table)]->caption; }
  int SelectedCell() override { return form.Board().SelectedCell; }

  // What the form shows must hold together on its own, whatever the model
  // says: cells hold counts, a summary that was written adds up its table's
  // cells, and a selection is the one selector that is on. Clearing leaves
  // the summaries as they were, so only a table with a written cell is held
  // to its summary. No error is ever reported.
  std::string Check() override {
    std::string wrong;
    if (!loaded || !controls.shown.empty()) wrong += " an error was reported";
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
      if (halves % 2 != 0) volume += separator_ + "5";
      const std::string want = " = " + std::to_string(count) + " / " + volume;
      if (summary != want)
        wrong += " summary" + std::to_string(t) + " '" + summary + "' for cells adding up to '" + want + "'";
    }
    for (int c = 0; c < board::kCells; ++c) {
      const bool on = selectors_[Index(c)]->Value();
      if (on != (c == SelectedCell())) wrong += " selector" + std::to_string(c) + (on ? " on" : " off");
    }
    if (Enabled(0) != Enabled(1)) wrong += " the pouring buttons disagree";
    return wrong;
  }

  forms::MemoryControls controls;
  MainForm form;
  bool loaded = false;

 private:
  static std::size_t Index(int i) { return static_cast<std::size_t>(i); }
  // The elements, looked up once: a million events look at them often.
  std::array<board::Text*, board::kCells> cells_{};
  std::array<board::Option*, board::kCells> selectors_{};
  std::array<board::MemoryList*, board::kKinds> pools_{};
  std::array<board::MemoryCaption*, board::kTables> summaries_{};
  std::array<board::Switch*, 2> pouring_{};
  std::string separator_;
};

}  // namespace model
