// The board on in-memory elements against the reference model, over a
// million random events.
#include <gtest/gtest.h>

#include "board/memory_elements.h"
#include "tests/model.h"

namespace {

class MemoryTarget : public model::Target {
 public:
  explicit MemoryTarget(char separator) : b(separator) {}
  void Select(int cell) override { b.board.SelectedCell = static_cast<std::int16_t>(cell); }
  void Press(int button) override {
    if (button < 2 && !b.pouring[static_cast<std::size_t>(button)].enabled) return;
    switch (button) {
      case 0: b.board.FullToHalves(); break;
      case 1: b.board.HalvesToFull(); break;
      case 2: b.board.ClearBoard(); break;
      case 3: b.board.PlaceBottle(); break;
      case 4: b.board.ReturnBottle(); break;
      default: break;
    }
  }
  bool Enabled(int button) override { return b.pouring[static_cast<std::size_t>(button)].enabled; }
  int PoolCount(int kind) override {
    const auto& entries = b.pools[static_cast<std::size_t>(kind)].entries;
    for (const auto& e : entries) {
      if (e != "1") return -1;  // every entry must be the text "1"
    }
    return static_cast<int>(entries.size());
  }
  std::string Cell(int cell) override { return b.cells[static_cast<std::size_t>(cell)].text; }
  std::string Summary(int table) override { return b.summaries[static_cast<std::size_t>(table)].caption; }
  int SelectedCell() override { return b.board.SelectedCell; }

  board::MemoryBoard b;
};

TEST(ModelTest, MillionRandomEventsAgreeWithTheReference) {
  MemoryTarget target('.');
  const std::string failure = model::Play(target, '.', 20261208u, 1'000'000);
  EXPECT_EQ(failure, "");
}

TEST(ModelTest, CommaSeparatorAgreesToo) {
  MemoryTarget target(',');
  const std::string failure = model::Play(target, ',', 7u, 200'000);
  EXPECT_EQ(failure, "");
}

}  // namespace
