// A small reference model of the game, written apart from the board, and a
// driver that plays random events against any front end (memory elements,
// Qt widgets, Win32 controls) and compares the two after every event.
#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <utility>

namespace model {

// What a front end under test offers: the user's events and what is shown.
class Target {
 public:
  virtual ~Target() = default;
  virtual void Select(int cell) = 0;           // click selector Option1(cell)
  virtual void Press(int button) = 0;          // click Command1(button), if enabled
  virtual bool Enabled(int button) = 0;        // Command1(button) enabled
  virtual int PoolCount(int kind) = 0;         // entries of List1(kind)
  virtual std::string Cell(int cell) = 0;      // text of Text2(cell)
  virtual std::string Summary(int table) = 0;  // caption of Label3(table)
  virtual int SelectedCell() = 0;
  // Anything else the front end must keep true after every event; empty
  // when it holds, else what is wrong.
  virtual std::string Check() { return {}; }
};

class Reference {
 public:
  explicit Reference(std::string separator) : separator_(std::move(separator)) { Clear(); }

  void Clear() {
    selected = -1;
    pools = {7, 7, 7};
    cells = {};
    written = {};
    pouring = true;
  }
  void Select(int cell) { selected = cell; }
  void Press(int button) {
    switch (button) {
      case 0:
        if (pouring && pools[0] > 0 && pools[2] > 0) {
          --pools[0];
          --pools[2];
          pools[1] += 2;
        }
        break;
      case 1:
        if (pouring && pools[1] >= 2) {
          pools[1] -= 2;
          ++pools[0];
          ++pools[2];
        }
        break;
      case 2: Clear(); break;
      case 3:
        pouring = false;
        if (selected >= 0 && pools[selected % 3] > 0) {
          --pools[selected % 3];
          ++cells[selected];
          Moved();
        }
        break;
      case 4:
        pouring = false;
        if (selected >= 0 && cells[selected] > 0) {
          ++pools[selected % 3];
          --cells[selected];
          Moved();
        }
        break;
      default: break;
    }
  }
  std::string CellText(int c) const { return written[c] ? std::to_string(cells[c]) : std::string(); }

  int selected;
  std::array<int, 3> pools;
  std::array<int, 9> cells;
  std::array<bool, 9> written;  // a cell once moved shows a number, else ""
  std::array<std::string, 3> summaries{};
  bool pouring;

 private:
  void Moved() {
    written[selected] = true;
    const int t = selected / 3;
    const int count = cells[3 * t] + cells[3 * t + 1] + cells[3 * t + 2];
    const int halves = 2 * cells[3 * t] + cells[3 * t + 1];
    std::string volume = std::to_string(halves / 2);
    if (halves % 2) volume += separator_ + "5";
    summaries[t] = " = " + std::to_string(count) + " / " + volume;
  }
  std::string separator_;
};

// Compares target and model; returns an empty text when they agree, else
// what differs. Also checks that 21 bottles and 10.5 units are in play.
inline std::string Compare(Target& target, const Reference& ref) {
  std::ostringstream diff;
  int bottles = 0, halves = 0;
  for (int k = 0; k < 3; ++k) {
    const int n = target.PoolCount(k);
    if (n != ref.pools[k]) diff << " pool" << k << "=" << n << " want " << ref.pools[k];
    bottles += n;
    halves += n * (2 - k);
  }
  for (int c = 0; c < 9; ++c) {
    const std::string text = target.Cell(c);
    if (text != ref.CellText(c)) diff << " cell" << c << "='" << text << "' want '" << ref.CellText(c) << "'";
    const int n = text.empty() ? 0 : std::stoi(text);
    bottles += n;
    halves += n * (2 - c % 3);
  }
  for (int t = 0; t < 3; ++t) {
    const std::string s = target.Summary(t);
    if (s != ref.summaries[t]) diff << " summary" << t << "='" << s << "' want '" << ref.summaries[t] << "'";
  }
  for (int b = 0; b < 2; ++b) {
    if (target.Enabled(b) != ref.pouring) diff << " button" << b << " enabled=" << target.Enabled(b);
  }
  if (target.SelectedCell() != ref.selected) diff << " selected=" << target.SelectedCell() << " want " << ref.selected;
  diff << target.Check();
  if (bottles != 21) diff << " bottles=" << bottles;
  if (halves != 21) diff << " volume=" << halves / 2.0;
  return diff.str();
}

// How many events a random run plays: under the sanitizers, which make each
// event some ten times slower, a fifth of the number asked for (the fuzzers
// play random events under them besides).
constexpr long Events(long asked) {
#ifdef BOTTLES_SANITIZED
  return asked / 5;
#else
  return asked;
#endif
}

// Plays `events` random events from `seed`. Returns an empty text on
// success, else the failing event, the seed to replay it and the difference.
// Games are long enough to fill tables: "Чисти" is rare, and each game leans
// towards a random cell so that pools run dry and cells return to 0.
inline std::string Play(Target& target, const std::string& separator, std::uint32_t seed, long events) {
  std::mt19937 rng(seed);
  Reference ref(separator);
  target.Press(2);
  ref.Press(2);
  std::string diff = Compare(target, ref);
  if (!diff.empty()) return "after clearing, seed " + std::to_string(seed) + ":" + diff;
  for (long i = 0; i < events; ++i) {
    const auto r = static_cast<unsigned>(rng() % 1000);
    std::string what;
    if (r < 4) {
      what = "press 2";
      target.Press(2);
      ref.Press(2);
    } else if (r < 250) {
      const int cell = static_cast<int>(rng() % 9);
      what = "select " + std::to_string(cell);
      target.Select(cell);
      ref.Select(cell);
    } else {
      static constexpr int kButtons[] = {0, 1, 3, 4};
      const int button = kButtons[rng() % 4];
      what = "press " + std::to_string(button);
      target.Press(button);  // a disabled button raises no click
      ref.Press(button);
    }
    diff = Compare(target, ref);
    if (!diff.empty()) {
      return "event " + std::to_string(i) + " (" + what + "), seed " + std::to_string(seed) + ":" + diff;
    }
  }
  return {};
}

}  // namespace model
