// What the conformance cases ask of a back end: MainForm loaded in the back
// end's real window (tests::LoadedForm), the user's mouse and keyboard on it,
// what the window shows, and what a screen reader is told. Each desktop back
// end implements it once; the cases (suite.h) are written once for all.
#pragma once

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "forms/back_end.h"
#include "tests/model.h"

namespace conformance {

enum class Key {
  kTab,
  kSpace,
  kEnter,
  kKeypadEnter,
  kEscape,
  kLeft,
  kRight,
  kUp,
  kDown,
  kPageDown,
  kEnd,
  kDigit5,
  kDelete
};

// What a screen reader is told a control is.
enum class Role { kText, kList, kButton, kRadioButton, kStaticText, kGrouping, kOther };

// Pixels as 0xRRGGBB, row by row.
struct Shot {
  int width = 0, height = 0;
  std::vector<unsigned> pixels;
  unsigned At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// Contrast of two colours as WCAG reckons it, from 1 to 21.
inline double Contrast(unsigned a, unsigned b) {
  const auto luminance = [](unsigned c) {
    double sum = 0;
    for (const auto& [shift, weight] : {std::pair{16, 0.2126}, std::pair{8, 0.7152}, std::pair{0, 0.0722}}) {
      const double v = ((c >> shift) & 0xFF) / 255.0;
      sum += weight * (v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
    }
    return sum;
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

class Driver : public model::Target {
 public:
  // model::Target: Select and Press are mouse clicks in the control's
  // middle; SelectedCell is the form's own, Checked what a selector shows.
  virtual bool Checked(int cell) = 0;

  // The user.
  virtual void ClickAt(const char* name, int index, int x, int y) = 0;  // pixels in the control's box
  // Two presses within the double-click time; false when the control did
  // not see the second as a double click.
  virtual bool DoubleClick(const char* name, int index) = 0;
  virtual void Focus(const char* name, int index) = 0;
  virtual void Type(Key key) = 0;     // to the control that has the focus
  virtual std::string Focused() = 0;  // "Text1(0)", or "" when no control of the form has it

  // What the window shows.
  virtual forms::Box PlaceOf(const char* name, int index) = 0;  // in the window's client area
  virtual int Dpi() = 0;
  virtual bool Shown(const char* name, int index) = 0;
  virtual std::string CaptionOf(const char* name, int index) = 0;  // UTF-8
  virtual Shot ShotOf(const char* name, int index) = 0;            // the window's pixels in the control's box
  virtual bool EntryInView(int kind, int entry) = 0;               // a pool's entry is scrolled into view
  virtual std::u16string PanelText(int index) = 0;                 // as shown

  // A screen reader.
  virtual std::string SpokenName(const char* name, int index) = 0;  // UTF-8
  virtual Role SpokenRole(const char* name, int index) = 0;
  virtual bool SpokenReadOnly(const char* name, int index) = 0;

  // The frame: the clicks that reached a handler, an error's report, a
  // cell's text changed behind the form's back, and a selector set.
  virtual int Clicks(const char* name, int index) = 0;
  virtual const forms::ErrorReport* Report() = 0;
  virtual void Corrupt(int cell, const std::string& text) = 0;
  virtual void SetSelector(int cell, bool value) = 0;  // as the board sets it

  // The desktop's colours dark (light text on dark windows and boxes), or
  // back to what they were; windows made meanwhile are made under them.
  virtual void DarkDesktop(bool dark) = 0;
};

// A Driver over a back end's window fixture (a model::Target that is also a
// tests::LoadedForm): the game's clicks and what it shows, the clicks counted
// and the report kept, as the fixture has them.
template <class Game>
class FixtureDriver : public Driver {
 public:
  explicit FixtureDriver(std::string separator) : g_(std::move(separator)) {}
  void Select(int cell) override { g_.Select(cell); }
  void Press(int button) override { g_.Press(button); }
  bool Enabled(int button) override { return g_.Enabled(button); }
  int PoolCount(int kind) override { return g_.PoolCount(kind); }
  std::string Cell(int cell) override { return g_.Cell(cell); }
  std::string Summary(int table) override { return g_.Summary(table); }
  int SelectedCell() override { return g_.form.Board().SelectedCell; }
  bool Checked(int cell) override { return g_.Checked(cell); }
  int Clicks(const char* name, int index) override { return g_.handlers.Clicks(name, index); }
  const forms::ErrorReport* Report() override { return g_.report ? &*g_.report : nullptr; }
  void SetSelector(int cell, bool value) override { g_.window.Option("Option1", cell).SetValue(value); }

 protected:
  Game g_;
};

}  // namespace conformance
