// The puzzle: 21 bottles to share over 3 tables. The board holds no state of
// its own beside its elements (pools, cells, summaries, pouring switches,
// selectors) and the selected cell; every operation reads and writes the
// elements directly, in a fixed order of steps.
#pragma once

#include <array>
#include <cstdint>

#include "board/elements.h"

namespace board {

enum BottleKind { kFull = 0, kHalf = 1, kEmpty = 2 };

constexpr int kKinds = 3;
constexpr int kTables = 3;
constexpr int kCells = kKinds * kTables;  // cell = 3 * table + kind
constexpr int kBottlesPerKind = 7;

struct Elements {
  std::array<List*, kKinds> pools;          // List1(kind)
  std::array<Text*, kCells> cells;          // Text2(cell)
  std::array<Option*, kCells> selectors;    // Option1(cell)
  std::array<Caption*, kTables> summaries;  // Label3(table)
  std::array<Switch*, 2> pouring;           // Command1(0), Command1(1)
};

class Board {
 public:
  // locale gives the decimal separator of the volumes in the summaries; it
  // outlives the board.
  Board(const Elements& elements, const Locale& locale);

  // -1 while nothing is selected, else the index of the selector clicked last.
  std::int16_t SelectedCell = -1;

  // Starts a game: full pools, empty cells, no selection, pouring allowed.
  void ClearBoard();
  // Moves one bottle of the selected kind from its pool to the selected table.
  void PlaceBottle();
  // Moves one bottle of the selected kind from the selected table to its pool.
  void ReturnBottle();
  // A full and an empty bottle of the pools become two half bottles.
  void FullToHalves();
  // Two half bottles of the pools become a full and an empty bottle.
  void HalvesToFull();

 private:
  List& Pool(int kind);
  Text& Cell(int cell);
  void EndPouring();
  void UpdateSummary(int table);

  Elements elements_;
  const Locale& locale_;
};

}  // namespace board
