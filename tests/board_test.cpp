// The board's operations on in-memory elements: clearing, selecting,
// placing, returning, pouring, and the errors a corrupted cell raises.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/errors.h"
#include "board/memory_elements.h"

namespace {

using board::MemoryBoard;

std::vector<int> PoolSizes(const MemoryBoard& b) {
  return {b.pools[0].Count(), b.pools[1].Count(), b.pools[2].Count()};
}
std::vector<std::string> Cells(const MemoryBoard& b) {
  std::vector<std::string> out;
  for (const auto& c : b.cells) out.push_back(c.text);
  return out;
}
std::vector<std::string> Summaries(const MemoryBoard& b) {
  return {b.summaries[0].caption, b.summaries[1].caption, b.summaries[2].caption};
}
bool Pouring(const MemoryBoard& b) { return b.pouring[0].enabled && b.pouring[1].enabled; }
bool NoPouring(const MemoryBoard& b) { return !b.pouring[0].enabled && !b.pouring[1].enabled; }

void Place(MemoryBoard& b, int cell, int times = 1) {
  b.board.SelectedCell = static_cast<std::int16_t>(cell);
  for (int i = 0; i < times; ++i) b.board.PlaceBottle();
}

class BoardTest : public ::testing::Test {
 protected:
  BoardTest() {
    // Start from a board in a state clearing must undo.
    b.pouring[0].enabled = false;
    b.selectors[4].value = true;
    b.cells[2].text = "junk";
    b.pools[1].entries = {"x"};
    b.board.SelectedCell = 5;
    b.board.ClearBoard();
  }
  MemoryBoard b;
};

TEST_F(BoardTest, ClearingStartsAGame) {
  EXPECT_EQ(PoolSizes(b), (std::vector<int>{7, 7, 7}));
  for (const auto& pool : b.pools) EXPECT_EQ(pool.entries, std::vector<std::string>(7, "1"));
  EXPECT_EQ(Cells(b), std::vector<std::string>(9, ""));
  for (const auto& s : b.selectors) EXPECT_FALSE(s.value);
  EXPECT_EQ(b.board.SelectedCell, -1);
  EXPECT_TRUE(Pouring(b));
  EXPECT_EQ(Summaries(b), std::vector<std::string>(3, ""));
}

TEST_F(BoardTest, ClearingAfterAGameKeepsTheSummaries) {
  b.board.FullToHalves();
  b.board.FullToHalves();
  Place(b, 4, 3);
  Place(b, 0);
  const auto summaries = Summaries(b);
  EXPECT_EQ(summaries, (std::vector<std::string>{" = 1 / 1", " = 3 / 1.5", ""}));
  b.board.ClearBoard();
  EXPECT_EQ(PoolSizes(b), (std::vector<int>{7, 7, 7}));
  EXPECT_EQ(Cells(b), std::vector<std::string>(9, ""));
  EXPECT_TRUE(Pouring(b));
  EXPECT_EQ(b.board.SelectedCell, -1);
  EXPECT_EQ(Summaries(b), summaries);
  b.board.ClearBoard();  // twice is the same as once
  EXPECT_EQ(PoolSizes(b), (std::vector<int>{7, 7, 7}));
  EXPECT_EQ(Cells(b), std::vector<std::string>(9, ""));
  EXPECT_EQ(Summaries(b), summaries);
}

TEST_F(BoardTest, SelectionSurvivesEveryOperationButClearing) {
  b.board.SelectedCell = 7;
  b.board.FullToHalves();
  b.board.HalvesToFull();
  b.board.PlaceBottle();
  b.board.ReturnBottle();
  b.board.ReturnBottle();
  EXPECT_EQ(b.board.SelectedCell, 7);
  b.board.ClearBoard();
  EXPECT_EQ(b.board.SelectedCell, -1);
}

TEST_F(BoardTest, PlacingWithoutSelectionOnlyEndsPouring) {
  b.board.PlaceBottle();
  EXPECT_TRUE(NoPouring(b));
  EXPECT_EQ(PoolSizes(b), (std::vector<int>{7, 7, 7}));
  EXPECT_EQ(Cells(b), std::vector<std::string>(9, ""));
  EXPECT_EQ(Summaries(b), std::vector<std::string>(3, ""));
}

TEST_F(BoardTest, PlacingAHalfBottleOnTheSecondTable) {
  Place(b, 4);
  EXPECT_EQ(b.cells[4].text, "1");
  EXPECT_EQ(PoolSizes(b), (std::vector<int>{7, 6, 7}));
  EXPECT_EQ(Summaries(b), (std::vector<std::string>{"", " = 1 / 0.5", ""}));
  EXPECT_TRUE(NoPouring(b));
}

TEST_F(BoardTest, PlacingUntilThePoolIsEmpty) {
  Place(b, 6, 7);
  EXPECT_EQ(b.cells[6].text, "7");
  EXPECT_EQ(b.pools[0].Count(), 0);
  EXPECT_EQ(b.summaries[2].caption, " = 7 / 7");
  b.summaries[2].caption = "marker";
  b.board.PlaceBottle();  // the eighth is ignored silently
  EXPECT_EQ(b.cells[6].text, "7");
  EXPECT_EQ(b.pools[0].Count(), 0);
  EXPECT_EQ(b.summaries[2].caption, "marker");
}

TEST_F(BoardTest, ReturningFromAnUnusedCellChangesNothing) {
  b.board.SelectedCell = 2;
  b.board.ReturnBottle();
  EXPECT_TRUE(NoPouring(b));
  EXPECT_EQ(b.cells[2].text, "");
  EXPECT_EQ(PoolSizes(b), (std::vector<int>{7, 7, 7}));
  EXPECT_EQ(Summaries(b), std::vector<std::string>(3, ""));
}

TEST_F(BoardTest, PlaceThenReturnShowsZero) {
  Place(b, 5);
  b.board.ReturnBottle();
  EXPECT_EQ(b.cells[5].text, "0");
  EXPECT_EQ(PoolSizes(b), (std::vector<int>{7, 7, 7}));
  EXPECT_EQ(b.summaries[1].caption, " = 0 / 0");
  b.board.ReturnBottle();  // the cell reads 0: nothing more to return
  EXPECT_EQ(b.cells[5].text, "0");
  EXPECT_EQ(b.pools[2].Count(), 7);
}

TEST_F(BoardTest, ReturningDoesNotConsultThePoolSize) {
  b.cells[0].text = "3";
  Place(b, 0, 0);
  b.board.ReturnBottle();
  EXPECT_EQ(b.cells[0].text, "2");
  EXPECT_EQ(b.pools[0].Count(), 8);
  EXPECT_EQ(b.summaries[0].caption, " = 2 / 2");
}

TEST_F(BoardTest, OnlyTheTouchedTableIsSummarised) {
  Place(b, 0);
  Place(b, 1);
  EXPECT_EQ(Summaries(b), (std::vector<std::string>{" = 2 / 1.5", "", ""}));
  Place(b, 8);
  EXPECT_EQ(Summaries(b), (std::vector<std::string>{" = 2 / 1.5", "", " = 1 / 0"}));
}

TEST_F(BoardTest, TheWorkedExampleSolvesTheTask) {
  for (int i = 0; i < 7; ++i) b.board.FullToHalves();
  EXPECT_EQ(PoolSizes(b), (std::vector<int>{0, 21, 0}));
  for (int t = 0; t < 3; ++t) Place(b, 3 * t + 1, 7);
  EXPECT_EQ(Summaries(b), std::vector<std::string>(3, " = 7 / 3.5"));
  EXPECT_EQ(PoolSizes(b), (std::vector<int>{0, 0, 0}));
}

TEST_F(BoardTest, AnotherSolutionWithoutPouring) {
  // 3 full + 1 half + 3 empty, 2 + 3 + 2, 2 + 3 + 2.
  Place(b, 0, 3);
  Place(b, 1, 1);
  Place(b, 2, 3);
  Place(b, 3, 2);
  Place(b, 4, 3);
  Place(b, 5, 2);
  Place(b, 6, 2);
  Place(b, 7, 3);
  Place(b, 8, 2);
  EXPECT_EQ(Summaries(b), std::vector<std::string>(3, " = 7 / 3.5"));
}

// Whatever text the system gives, UTF-8, as it stands; asked at every summary,
// so that a change while the game runs reaches the next one.
TEST_F(BoardTest, TheSeparatorIsTheUsersAsItIsNow) {
  MemoryBoard user(",");
  user.board.ClearBoard();
  Place(user, 1, 3);
  EXPECT_EQ(user.summaries[0].caption, " = 3 / 1,5");
  user.separator = "\u066B";
  Place(user, 4);
  EXPECT_EQ(user.summaries[1].caption, " = 1 / 0\u066B5");
  EXPECT_EQ(user.summaries[0].caption, " = 3 / 1,5");
  user.separator = "--";
  Place(user, 1);
  EXPECT_EQ(user.summaries[0].caption, " = 4 / 2");
  Place(user, 1);
  EXPECT_EQ(user.summaries[0].caption, " = 5 / 2--5");
}

TEST_F(BoardTest, PouringFullIntoEmptyUntilNoneAreLeft) {
  for (int i = 0; i < 7; ++i) b.board.FullToHalves();
  EXPECT_EQ(PoolSizes(b), (std::vector<int>{0, 21, 0}));
  b.board.FullToHalves();
  EXPECT_EQ(PoolSizes(b), (std::vector<int>{0, 21, 0}));
}

TEST_F(BoardTest, PouringNeedsBothAFullAndAnEmptyBottle) {
  for (int i = 0; i < 3; ++i) b.board.HalvesToFull();
  EXPECT_EQ(PoolSizes(b), (std::vector<int>{10, 1, 10}));
  b.board.HalvesToFull();  // one half bottle is not enough
  EXPECT_EQ(PoolSizes(b), (std::vector<int>{10, 1, 10}));
  b.pools[2].entries.clear();
  b.board.FullToHalves();  // no empty bottle
  EXPECT_EQ(PoolSizes(b), (std::vector<int>{10, 1, 0}));
}

TEST_F(BoardTest, PouringAndItsInverseRestoreThePools) {
  b.board.FullToHalves();
  b.board.HalvesToFull();
  EXPECT_EQ(PoolSizes(b), (std::vector<int>{7, 7, 7}));
  b.board.HalvesToFull();
  b.board.FullToHalves();
  EXPECT_EQ(PoolSizes(b), (std::vector<int>{7, 7, 7}));
  EXPECT_EQ(Cells(b), std::vector<std::string>(9, ""));
  EXPECT_TRUE(Pouring(b));
  EXPECT_EQ(b.board.SelectedCell, -1);
}

TEST_F(BoardTest, PouringRemovesFromTheEndAndAppendsOnes) {
  b.pools[0].entries = {"a", "b"};
  b.pools[2].entries = {"c", "d"};
  b.pools[1].entries = {"e", "f", "g"};
  b.board.FullToHalves();
  EXPECT_EQ(b.pools[0].entries, (std::vector<std::string>{"a"}));
  EXPECT_EQ(b.pools[2].entries, (std::vector<std::string>{"c"}));
  EXPECT_EQ(b.pools[1].entries, (std::vector<std::string>{"e", "f", "g", "1", "1"}));
  b.pools[1].entries = {"e", "f", "g"};
  b.board.HalvesToFull();
  EXPECT_EQ(b.pools[1].entries, (std::vector<std::string>{"e"}));
  EXPECT_EQ(b.pools[0].entries, (std::vector<std::string>{"a", "1"}));
  EXPECT_EQ(b.pools[2].entries, (std::vector<std::string>{"c", "1"}));
}

TEST_F(BoardTest, CellsAreReadAsNumbers) {
  b.cells[3].text = " 2 ";
  Place(b, 3);
  EXPECT_EQ(b.cells[3].text, "3");
  b.cells[3].text = "abc";
  b.board.ReturnBottle();  // reads 0
  EXPECT_EQ(b.cells[3].text, "abc");
}

// A corrupted cell holds what the program never writes; the summary update
// must raise the error and leave the caption alone.
struct Corruption {
  int cell;
  const char* text;
};

TEST_F(BoardTest, CorruptedCountsOverflowAndSetNoCaption) {
  const Corruption cases[] = {
      {0, "40000"}, {1, "32767"}, {2, "1e308"}, {0, "-1e308"}, {1, "-32770"},
  };
  for (const auto& c : cases) {
    MemoryBoard m;
    m.board.ClearBoard();
    m.cells[static_cast<std::size_t>(c.cell)].text = c.text;
    m.summaries[0].caption = "before";
    m.board.SelectedCell = static_cast<std::int16_t>(c.cell);
    EXPECT_THROW(m.board.PlaceBottle(), board::OverflowError) << c.text;
    EXPECT_EQ(m.summaries[0].caption, "before") << c.text;
  }
}

TEST_F(BoardTest, AVolumeTooLargeForASingleIsAFloatingPointFault) {
  b.cells[3].text = "1e300";
  b.cells[5].text = "-1e300";  // the count stays in range
  b.summaries[1].caption = "before";
  b.board.SelectedCell = 4;
  EXPECT_THROW(b.board.PlaceBottle(), board::FloatingPointError);
  EXPECT_EQ(b.summaries[1].caption, "before");
  // The cell and pool were already changed when the summary failed.
  EXPECT_EQ(b.cells[4].text, "1");
  EXPECT_EQ(b.pools[1].Count(), 6);
}

TEST_F(BoardTest, ANumberTooLargeToReadOverflows) {
  b.cells[7].text = "1e999";
  b.board.SelectedCell = 7;
  EXPECT_THROW(b.board.ReturnBottle(), board::OverflowError);
  EXPECT_EQ(b.pools[1].Count(), 7);
}

TEST_F(BoardTest, NegativeCountsStayNumbers) {
  b.cells[8].text = "-2";
  b.board.SelectedCell = 8;
  b.board.ReturnBottle();  // not above zero: nothing
  EXPECT_EQ(b.cells[8].text, "-2");
  b.board.PlaceBottle();
  EXPECT_EQ(b.cells[8].text, "-1");
  EXPECT_EQ(b.summaries[2].caption, " = -1 / 0");
}

}  // namespace
