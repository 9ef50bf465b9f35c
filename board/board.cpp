// The board's operations; see board.h.
#include "board/board.h"

#include "board/errors.h"
#include "board/numbers.h"

namespace board {

namespace {
constexpr const char* kEntry = "1";  // every pool entry is one bottle
}

Board::Board(const Elements& elements, const Locale& locale) : elements_(elements), locale_(locale) {}

List& Board::Pool(int kind) {
  if (kind < 0 || kind >= kKinds) throw NoSuchElementError();
  return *elements_.pools[static_cast<std::size_t>(kind)];
}

Text& Board::Cell(int cell) {
  if (cell < 0 || cell >= kCells) throw NoSuchElementError();
  return *elements_.cells[static_cast<std::size_t>(cell)];
}

void Board::ClearBoard() {
  SelectedCell = -1;
  for (List* pool : elements_.pools) pool->Clear();
  for (Text* cell : elements_.cells) cell->Set("");
  for (int i = 0; i < kBottlesPerKind; ++i) {
    for (List* pool : elements_.pools) pool->Append(kEntry);
  }
  for (Option* selector : elements_.selectors) selector->SetValue(false);
  for (Switch* pouring : elements_.pouring) pouring->SetEnabled(true);
}

void Board::EndPouring() {
  for (Switch* pouring : elements_.pouring) pouring->SetEnabled(false);
}

void Board::PlaceBottle() {
  EndPouring();
  if (SelectedCell < 0) return;
  const int kind = SelectedCell % kKinds;
  const int table = SelectedCell / kKinds;
  List& pool = Pool(kind);
  const int n = pool.Count();
  Text& cell = Cell(SelectedCell);
  double v = ParseNumber(cell.Get());
  if (n > 0) {
    v = v + 1;
    cell.Set(NumberText(v));
    pool.RemoveAt(n - 1);
    UpdateSummary(table);
  }
}

void Board::ReturnBottle() {
  EndPouring();
  if (SelectedCell < 0) return;
  const int kind = SelectedCell % kKinds;
  const int table = SelectedCell / kKinds;
  Text& cell = Cell(SelectedCell);
  double v = ParseNumber(cell.Get());
  if (v > 0) {
    v = v - 1;
    cell.Set(NumberText(v));
    Pool(kind).Append(kEntry);
    UpdateSummary(table);
  }
}

void Board::UpdateSummary(int table) {
  const double full = ParseNumber(Cell(kKinds * table + kFull).Get());
  const double half = ParseNumber(Cell(kKinds * table + kHalf).Get());
  const double empty = ParseNumber(Cell(kKinds * table + kEmpty).Get());
  const double sum = full + half + empty;
  const std::int16_t count = ToInt16(sum);
  // A sum out of range has already raised the overflow; a volume that does
  // not fit a single raises the floating-point error.
  const float volume = ToSingle(full + 0.5 * half);
  elements_.summaries[static_cast<std::size_t>(table)]->SetCaption(" = " + NumberText(count) + " / " +
                                                                   VolumeText(volume, locale_.DecimalSeparator()));
}

void Board::FullToHalves() {
  List& full = Pool(kFull);
  List& empty = Pool(kEmpty);
  const int n_full = full.Count();
  const int n_empty = empty.Count();
  // A product of two counts; long long keeps it exact for any pool size.
  if (static_cast<long long>(n_full) * n_empty < 1) return;
  full.RemoveAt(n_full - 1);
  empty.RemoveAt(n_empty - 1);
  Pool(kHalf).Append(kEntry);
  Pool(kHalf).Append(kEntry);
}

void Board::HalvesToFull() {
  List& half = Pool(kHalf);
  const int n_half = half.Count();
  if (n_half < 2) return;
  half.RemoveAt(n_half - 1);
  half.RemoveAt(n_half - 2);
  Pool(kFull).Append(kEntry);
  Pool(kEmpty).Append(kEntry);
}

}  // namespace board
