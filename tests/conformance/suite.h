// The behaviours every desktop back end shares, written once against a
// Driver: the test program of a back end includes this (once) and defines
// MakeDriver(). Mouse, keyboard, focus, layout, texts, errors, what a screen
// reader is told, and the whole games of games.txt played by keyboard.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "forms/cp1251.h"
#include "tests/conformance/driver.h"
#include "tests/scenarios/games.h"
#include "tests/scenarios/games_text.h"
#include "tests/shown.h"
#include "window/main_form.h"

namespace conformance {

// MainForm, loaded, in a new window of the back end, the window active.
std::unique_ptr<Driver> MakeDriver(std::string separator = ".");

inline std::string Name(const char* name, int index) { return std::string(name) + "(" + std::to_string(index) + ")"; }
inline std::string Name(const forms::Control& c) { return Name(c.name, c.index); }
inline std::vector<int> Pools(Driver& g) { return {g.PoolCount(0), g.PoolCount(1), g.PoolCount(2)}; }
inline int CheckedCount(Driver& g) {
  int n = 0;
  for (int c = 0; c < 9; ++c) n += g.Checked(c) ? 1 : 0;
  return n;
}

inline void ExpectClearedBoard(Driver& g) {
  EXPECT_EQ(Pools(g), (std::vector<int>{7, 7, 7}));
  for (int c = 0; c < 9; ++c) EXPECT_EQ(g.Cell(c), "") << c;
  EXPECT_EQ(CheckedCount(g), 0);
  EXPECT_EQ(g.SelectedCell(), -1);
  EXPECT_TRUE(g.Enabled(0) && g.Enabled(1));
}

// Presses Tab until `target` (or, for "Option1", any selector) has the
// focus; false if it never gets it.
inline bool TabTo(Driver& g, const std::string& target) {
  const auto there = [&] {
    const std::string focused = g.Focused();
    return focused == target || (target == "Option1" && focused.rfind("Option1(", 0) == 0);
  };
  for (int i = 0; i < 60 && !there(); ++i) g.Type(Key::kTab);
  return there();
}

// The selector that has the focus, or -1.
inline int FocusedSelector(Driver& g) {
  const std::string focused = g.Focused();
  return focused.rfind("Option1(", 0) == 0 ? std::stoi(focused.substr(8)) : -1;
}

// The controls that Tab visits, in order: by tab index, the group of
// selectors once, at `group_stop`.
inline std::vector<std::string> TabStops(int group_stop) {
  std::vector<const forms::Control*> rows;
  for (const auto& c : MainForm::Description().controls) {
    if (forms::TakesFocus(c.kind) && c.visible) rows.push_back(&c);
  }
  std::stable_sort(rows.begin(), rows.end(), [](auto* a, auto* b) { return a->tab_index < b->tab_index; });
  std::vector<std::string> stops;
  for (const auto* c : rows) {
    if (std::string(c->name) != "Option1" || c->index == group_stop) stops.push_back(Name(*c));
  }
  return stops;
}

// --- The mouse ---------------------------------------------------------------------

TEST(ConformanceTest, EveryPressOfAQuickDoubleClickCounts) {
  auto g = MakeDriver();
  ASSERT_TRUE(g->DoubleClick("Command1", 0));
  EXPECT_EQ(Pools(*g), (std::vector<int>{5, 11, 5}));
  g->DoubleClick("Command1", 1);
  EXPECT_EQ(Pools(*g), (std::vector<int>{7, 7, 7}));
  // A selector double-clicked is selected, once, and nothing else happens.
  ASSERT_TRUE(g->DoubleClick("Option1", 4));
  EXPECT_EQ(g->SelectedCell(), 4);
  EXPECT_EQ(CheckedCount(*g), 1);
  EXPECT_EQ(g->Clicks("Option1", 4), 1);
  EXPECT_EQ(Pools(*g), (std::vector<int>{7, 7, 7}));
  EXPECT_TRUE(g->Enabled(0));
  g->DoubleClick("Command1", 3);
  EXPECT_EQ(g->Cell(4), "2");
  EXPECT_EQ(Pools(*g), (std::vector<int>{7, 5, 7}));
  g->DoubleClick("Command1", 4);
  EXPECT_EQ(g->Cell(4), "0");
  EXPECT_EQ(Pools(*g), (std::vector<int>{7, 7, 7}));
  g->DoubleClick("Command1", 2);
  ExpectClearedBoard(*g);
  for (int button = 0; button < 5; ++button) EXPECT_EQ(g->Clicks("Command1", button), 2) << button;
}

TEST(ConformanceTest, AClickAtTheRightEdgeOfASelectorsBoxSelectsIt) {
  auto g = MakeDriver();
  for (int c : {1, 0, 2, 4, 3, 5, 7, 6, 8}) {
    const forms::Box box = g->PlaceOf("Option1", c);
    g->ClickAt("Option1", c, box.width - 1, box.height / 2);
    EXPECT_EQ(g->SelectedCell(), c);
    EXPECT_TRUE(g->Checked(c)) << c;
    EXPECT_EQ(CheckedCount(*g), 1) << c;
  }
}

// The board sets a selector, or clears it, without a click of it.
TEST(ConformanceTest, TheBoardSetsASelectorWithoutAClick) {
  auto g = MakeDriver();
  g->SetSelector(5, true);
  EXPECT_TRUE(g->Checked(5) && CheckedCount(*g) == 1 && g->SelectedCell() == -1 && g->Clicks("Option1", 5) == 0);
  g->Select(6);
  g->SetSelector(6, false);
  EXPECT_EQ(CheckedCount(*g), 0);
}

// --- The keyboard ------------------------------------------------------------------

TEST(ConformanceTest, TheFirstFocusIsTheStatementPanel) { EXPECT_EQ(MakeDriver()->Focused(), "Text1(0)"); }

void ExpectTabCycle(Driver& g, const std::vector<std::string>& stops) {
  g.Focus("Text1", 0);
  for (std::size_t i = 0; i <= stops.size(); ++i) {  // and round again
    EXPECT_EQ(g.Focused(), stops[i % stops.size()]) << "step " << i;
    g.Type(Key::kTab);
  }
}

// Frames, labels and the hidden quotation never take the focus; the group
// of selectors is one stop, at the selected one.
TEST(ConformanceTest, TabFollowsTheTabIndex) {
  auto g = MakeDriver();
  const std::vector<std::string> stops = TabStops(0);
  ASSERT_EQ(stops.size(), 1u + 3u + 3u + 9u + 2u + 1u);
  ExpectTabCycle(*g, stops);
  // Passing through the group selects nothing; Space there does.
  EXPECT_EQ(g->SelectedCell(), -1);
  EXPECT_EQ(CheckedCount(*g), 0);
  EXPECT_EQ(g->Clicks("Option1", 0), 0);
  ASSERT_TRUE(TabTo(*g, "Option1(0)"));
  g->Type(Key::kSpace);
  EXPECT_EQ(g->SelectedCell(), 0);
  EXPECT_TRUE(g->Checked(0));
  g->Press(2);
  g->Select(6);
  ExpectTabCycle(*g, TabStops(6));
  // The pouring buttons, once disabled, are passed by.
  g->Press(3);
  std::vector<std::string> fewer = TabStops(6);
  std::erase(fewer, "Command1(0)");
  std::erase(fewer, "Command1(1)");
  ExpectTabCycle(*g, fewer);
  // Cleared, nothing is selected: the group's stop is its first member.
  g->Press(2);
  ExpectTabCycle(*g, TabStops(0));
}

// Left and Right move along a table's row of selectors, Up and Down along a
// kind's column; they stop at the edges, and the selector moved to is
// selected, its click raised once.
TEST(ConformanceTest, TheArrowKeysMoveInTheGridOfSelectorsAndStopAtItsEdges) {
  auto g = MakeDriver();
  g->Select(4);
  g->Focus("Option1", 4);
  const struct {
    Key key;
    int cell;
  } steps[] = {{Key::kRight, 5}, {Key::kRight, 5}, {Key::kDown, 8}, {Key::kDown, 8}, {Key::kLeft, 7}, {Key::kLeft, 6},
               {Key::kLeft, 6},  {Key::kUp, 3},    {Key::kUp, 0},   {Key::kUp, 0},   {Key::kRight, 1}};
  std::vector<int> clicks(9, 0);
  clicks[4] = 1;
  int at = 4;
  for (const auto& step : steps) {
    g->Type(step.key);
    if (step.cell != at) ++clicks[static_cast<std::size_t>(step.cell)];
    at = step.cell;
    EXPECT_EQ(g->Focused(), Name("Option1", at));
    EXPECT_EQ(g->SelectedCell(), at);
    EXPECT_TRUE(g->Checked(at) && CheckedCount(*g) == 1) << at;
  }
  for (int c = 0; c < 9; ++c) EXPECT_EQ(g->Clicks("Option1", c), clicks[static_cast<std::size_t>(c)]) << c;
}

// From a group with nothing selected (at the start, and again after
// "Чисти"), Tab stops on "1-1" selecting nothing, and the arrows move and
// select: the placement then lands in the cell moved to.
TEST(ConformanceTest, TheArrowKeysSelectInAClearedGroup) {
  auto g = MakeDriver();
  for (const bool after_clearing : {false, true}) {
    if (after_clearing) {
      g->Select(8);
      g->Press(2);
    }
    ASSERT_TRUE(TabTo(*g, "Option1")) << after_clearing;
    EXPECT_EQ(g->Focused(), "Option1(0)");
    EXPECT_EQ(CheckedCount(*g), 0);
    g->Type(Key::kRight);
    EXPECT_EQ(g->Focused(), "Option1(1)");
    EXPECT_EQ(g->SelectedCell(), 1);
    g->Type(Key::kDown);
    EXPECT_EQ(g->Focused(), "Option1(4)");
    EXPECT_EQ(g->SelectedCell(), 4);
    EXPECT_TRUE(g->Checked(4) && CheckedCount(*g) == 1);
    g->Press(3);
    EXPECT_EQ(g->Cell(4), "1") << after_clearing;
    EXPECT_EQ(g->PoolCount(1), 6) << after_clearing;
    g->Press(4);  // back as it was
  }
}

TEST(ConformanceTest, EnterAndTheKeypadsEnterPressTheFocusedButtonOnce) {
  for (int b = 0; b < 5; ++b) {
    auto clicked = MakeDriver();
    model::ReadyFor(*clicked, b);
    const model::Shown before = model::ShownOf(*clicked);
    clicked->Press(b);
    const model::Shown once = model::ShownOf(*clicked);
    ASSERT_NE(once, before) << "button " << b;
    for (const Key key : {Key::kEnter, Key::kKeypadEnter}) {
      auto g = MakeDriver();
      model::ReadyFor(*g, b);
      g->Focus("Command1", b);
      g->Type(key);
      EXPECT_EQ(model::ShownOf(*g), once) << "button " << b << ", key " << static_cast<int>(key);
    }
  }
}

TEST(ConformanceTest, EnterOnAnythingButAButtonChangesNothing) {
  auto g = MakeDriver();
  g->Press(0);
  const model::Shown before = model::ShownOf(*g);
  const std::u16string statement = g->PanelText(0);
  for (const auto& c : MainForm::Description().controls) {
    if (!forms::TakesFocus(c.kind) || !c.visible || c.kind == forms::ControlKind::kButton) continue;
    g->Focus(c.name, c.index);
    ASSERT_EQ(g->Focused(), Name(c));
    g->Type(Key::kEnter);
    g->Type(Key::kKeypadEnter);
    EXPECT_EQ(model::ShownOf(*g), before) << Name(c);
  }
  EXPECT_EQ(g->PanelText(0), statement);
}

TEST(ConformanceTest, TheCellsAndPanelsTakeNoTyping) {
  auto g = MakeDriver();
  g->Select(0);
  g->Press(3);
  const std::u16string statement = g->PanelText(0);
  for (const auto& [name, index] : {std::pair{"Text2", 0}, std::pair{"Text1", 0}}) {
    g->Focus(name, index);
    g->Type(Key::kDigit5);
    g->Type(Key::kDelete);
    g->Type(Key::kEscape);  // closes nothing
  }
  EXPECT_EQ(g->Cell(0), "1");
  EXPECT_EQ(g->PanelText(0), statement);
  EXPECT_TRUE(g->Shown("Text1", 0));
}

// Pixels that changed from one shot to the other by more than a faint shade.
inline int Changed(const Shot& a, const Shot& b) {
  int changed = 0;
  for (std::size_t i = 0; i < a.pixels.size() && i < b.pixels.size(); ++i) {
    int d = 0;
    for (int shift : {0, 8, 16}) {
      d += std::abs(static_cast<int>((a.pixels[i] >> shift) & 0xFF) - static_cast<int>((b.pixels[i] >> shift) & 0xFF));
    }
    changed += d >= 192 ? 1 : 0;
  }
  return changed;
}

// Every control that takes the focus, with full and with empty pools, with
// a selector selected and not: the focus marks the control's box all round
// (at least its perimeter in clearly changed pixels), whatever its colour.
TEST(ConformanceTest, TheFocusShowsOnEveryControl) {
  auto g = MakeDriver();
  for (int round = 0; round < 2; ++round) {
    if (round == 1) {
      for (int i = 0; i < 7; ++i) g->Press(0);
      g->Select(4);
    }
    for (const auto& c : MainForm::Description().controls) {
      if (!forms::TakesFocus(c.kind) || !c.visible) continue;
      g->Focus(std::string(c.name) == "Text1" ? "List1" : "Text1", 0);
      const Shot without = g->ShotOf(c.name, c.index);
      g->Focus(c.name, c.index);
      ASSERT_EQ(g->Focused(), Name(c));
      const Shot with = g->ShotOf(c.name, c.index);
      EXPECT_GE(Changed(without, with), 2 * (with.width + with.height)) << Name(c) << ", round " << round;
    }
  }
}

// --- The window as described -------------------------------------------------------

// The places of the description at 96 dpi, in pixels of the window, worked
// out by hand from its twips (15 a pixel; a frame's members from its corner):
// of each array's members `first`, `first + step`, ... the k-th at (left +
// k * dx, top + k * dy).
struct Places {
  const char* name;
  int first, count, step, left, top, dx, dy, width, height;
};
constexpr Places kPlacesAt96Dpi[] = {
    {"Label1", 0, 1, 1, 64, 0, 0, 0, 305, 25},     {"Label2", 0, 3, 1, 208, 48, 48, 0, 49, 25},
    {"List1", 0, 3, 1, 208, 72, 48, 0, 49, 118},   {"Command1", 0, 3, 1, 360, 48, 0, 40, 113, 33},
    {"Frame1", -1, 1, 1, 8, 80, 0, 0, 193, 97},    {"Option1", 0, 3, 3, 16, 104, 0, 24, 49, 19},
    {"Option1", 1, 3, 3, 72, 104, 0, 24, 65, 19},  {"Option1", 2, 3, 3, 144, 104, 0, 24, 49, 19},
    {"Label2", 3, 3, 1, 160, 192, 0, 24, 49, 25},  {"Text2", 0, 3, 3, 208, 192, 0, 24, 49, 27},
    {"Text2", 1, 3, 3, 256, 192, 0, 24, 49, 27},   {"Text2", 2, 3, 3, 304, 192, 0, 24, 49, 27},
    {"Command1", 3, 2, 1, 8, 192, 0, 40, 145, 33}, {"Frame2", -1, 1, 1, 360, 168, 0, 0, 113, 105},
    {"Label3", 0, 3, 1, 368, 192, 0, 24, 97, 25},  {"Text1", 0, 1, 1, 16, 288, 0, 0, 449, 129},
    {"Text1", 1, 1, 1, 88, 360, 0, 0, 449, 121},
};

TEST(ConformanceTest, EveryControlWhereItsDescriptionPutsIt) {
  auto g = MakeDriver();
  const forms::Form& form = MainForm::Description();
  ASSERT_EQ(g->Dpi(), 96);
  std::size_t placed = 0;
  for (const Places& p : kPlacesAt96Dpi) {
    for (int k = 0; k < p.count; ++k, ++placed) {
      const int index = p.first + k * p.step;
      const forms::Box got = g->PlaceOf(p.name, index);
      EXPECT_TRUE(got.left == p.left + k * p.dx && got.top == p.top + k * p.dy && got.width == p.width &&
                  got.height == p.height)
          << Name(p.name, index) << ": " << got.left << "," << got.top << " " << got.width << "x" << got.height;
    }
  }
  EXPECT_EQ(placed, form.controls.size());
  for (const forms::Control& c : form.controls) {
    EXPECT_EQ(g->Shown(c.name, c.index), c.visible) << Name(c);
    if (c.back_colour == forms::kDefaultColour || !c.visible) continue;
    // A point of each kind of control where nothing but its background is drawn.
    const Shot shot = g->ShotOf(c.name, c.index);
    int x = 1, y = shot.height - 2;
    if (c.kind == forms::ControlKind::kButton) x = y = 4;
    if (c.kind == forms::ControlKind::kOptionButton) x = shot.width - 2;
    if (c.kind == forms::ControlKind::kFrame) x = shot.width / 2, y = shot.height - 4;
    EXPECT_EQ(shot.At(x, y), c.back_colour) << Name(c);
  }
}

TEST(ConformanceTest, TheCaptionsAreCyrillic) {
  auto g = MakeDriver();
  EXPECT_EQ(g->CaptionOf("Label2", 0), "Пълна");
  EXPECT_EQ(g->CaptionOf("Label2", 5), "3-та");
  EXPECT_EQ(g->CaptionOf("Command1", 2), "Чисти");
  EXPECT_EQ(g->CaptionOf("Option1", 7), "3-0.5");
  EXPECT_EQ(g->CaptionOf("Frame2", -1), "Маси-бутилки");
}

// Page Down and End take the keyboard's user to a long pool's last entry.
TEST(ConformanceTest, APoolThatOverflowsScrollsToItsEnd) {
  auto g = MakeDriver();
  for (int i = 0; i < 7; ++i) g->Press(0);
  ASSERT_EQ(g->PoolCount(1), 21);
  EXPECT_TRUE(g->EntryInView(1, 0));
  EXPECT_FALSE(g->EntryInView(1, 20));
  g->Focus("List1", 1);
  g->Type(Key::kPageDown);
  g->Type(Key::kEnd);
  EXPECT_TRUE(g->EntryInView(1, 20));
}

TEST(ConformanceTest, TheQuotationIsNeverShown) {
  auto g = MakeDriver();
  EXPECT_FALSE(g->Shown("Text1", 1));
  g->Focus("Text1", 0);
  for (int i = 0; i < 40; ++i) {
    g->Type(Key::kTab);
    EXPECT_NE(g->Focused(), "Text1(1)");
  }
  g->Press(0);
  g->Select(0);
  g->Press(3);
  g->Press(2);
  EXPECT_FALSE(g->Shown("Text1", 1));
}

// Whatever the user's separator is, it reaches the summary as it stands: one
// character or several, outside ASCII and Windows-1251 too.
TEST(ConformanceTest, TheSeparatorOfTheUsersLocaleAsItStands) {
  for (const std::string separator : {",", "\u066B", "--"}) {
    auto g = MakeDriver(separator);
    g->Select(4);
    g->Press(3);
    EXPECT_EQ(g->Summary(1), " = 1 / 0" + separator + "5");
  }
}

// --- Errors ------------------------------------------------------------------------

TEST(ConformanceTest, AnErrorLeavingAHandlerIsReportedAndEndsTheEvents) {
  auto g = MakeDriver();
  g->Corrupt(0, "40000");  // never written by the game
  g->Select(0);
  g->Press(3);
  const forms::ErrorReport* report = g->Report();
  ASSERT_NE(report, nullptr);
  EXPECT_EQ(report->title, u"Философия - Логика");
  EXPECT_EQ(report->message.rfind(u"Грешка при изпълнение 6:\n\n", 0), 0u);
  EXPECT_NE(report->message.find(u"Препълване"), std::u16string::npos);
  EXPECT_EQ(g->Summary(0), "");
  // The program has ended: no further event reaches a handler.
  g->Press(2);
  g->Select(4);
  g->Press(3);
  EXPECT_EQ(g->Cell(0), "40001");
  EXPECT_EQ(g->Cell(4), "");
  EXPECT_EQ(g->SelectedCell(), 0);
  EXPECT_EQ(g->Clicks("Command1", 2), 0);
}

// --- A dark desktop ----------------------------------------------------------------

// The pixels of the first `rows` rows of a shot that stand out from `back`
// as text must (4.5:1), and its commonest colour.
inline int Marked(const Shot& shot, unsigned back, int rows) {
  int n = 0;
  for (int i = 0; i < std::min(rows, shot.height) * shot.width; ++i) n += Contrast(shot.pixels[i], back) >= 4.5;
  return n;
}
inline unsigned Commonest(const Shot& shot, int rows) {
  std::map<unsigned, int> seen;
  for (int i = 0; i < std::min(rows, shot.height) * shot.width; ++i) ++seen[shot.pixels[i]];
  return std::max_element(seen.begin(), seen.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
}

// The form's own colours: each caption dark on its described colour, text
// boxes, lists and panels white with dark text, the checked selector plainly
// marked.
void ExpectFormColours(Driver& g, const char* when) {
  for (const auto& c : MainForm::Description().controls) {
    if (!c.visible) continue;
    const Shot shot = g.ShotOf(c.name, c.index);
    // A frame's own pixels are its caption's strip; below it are its controls.
    const int rows = c.kind == forms::ControlKind::kFrame ? shot.height / 5 : shot.height;
    const std::string what = Name(c) + " " + when;
    switch (c.kind) {
      case forms::ControlKind::kTextBox:
      case forms::ControlKind::kListBox: EXPECT_EQ(Commonest(shot, rows), 0xFFFFFFu) << what; break;
      case forms::ControlKind::kButton: break;
      default:
        EXPECT_EQ(Commonest(shot, rows), c.back_colour) << what;
        if (*c.caption != '\0' || (std::string(c.name) == "Label3" && g.Summary(c.index) != "")) {
          EXPECT_GE(Marked(shot, c.back_colour, rows), 20) << what;
        }
    }
  }
  EXPECT_GE(Marked(g.ShotOf("Text1", 0), 0xFFFFFF, 1000), 200) << when;
  EXPECT_GE(Marked(g.ShotOf("Text2", 4), 0xFFFFFF, 1000), 10) << when;
}

// The desktop's colours dark while the window is open, and before a window
// is made: the form keeps its own, and looks exactly as before, the
// selectors' marks and the frames' edges too (no unchecked mark turns dark).
// The desktop dark for as long as it lives: back as it was even when the test
// fails on the way, so that no later test runs under it.
class DarkenedDesktop {
 public:
  explicit DarkenedDesktop(Driver& g) : g_(g) { g_.DarkDesktop(true); }
  ~DarkenedDesktop() { g_.DarkDesktop(false); }
  DarkenedDesktop(const DarkenedDesktop&) = delete;
  DarkenedDesktop& operator=(const DarkenedDesktop&) = delete;

 private:
  Driver& g_;
};

TEST(ConformanceTest, ADarkDesktopLeavesTheFormsColours) {
  auto g = MakeDriver();
  g->Select(4);
  g->Press(3);  // a count, a summary and two greyed buttons
  g->Focus("Command1", 2);
  std::vector<Shot> usual;
  for (const auto& c : MainForm::Description().controls) usual.push_back(g->ShotOf(c.name, c.index));
  const DarkenedDesktop darkened(*g);
  const auto& controls = MainForm::Description().controls;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const forms::Control& c = controls[i];
    const Shot dark = g->ShotOf(c.name, c.index);
    int differing = 0;
    for (std::size_t p = 0; p < dark.pixels.size(); ++p) differing += dark.pixels[p] != usual[i].pixels[p];
    EXPECT_EQ(differing, 0) << Name(c);
  }
  ExpectFormColours(*g, "with the desktop turned dark");
  // The checked selector's mark, against the same selector unchecked.
  const Shot checked = g->ShotOf("Option1", 4);
  g->Select(1);
  g->Focus("Command1", 2);
  EXPECT_GE(Changed(checked, g->ShotOf("Option1", 4)), 9);
  {
    auto made_dark = MakeDriver();
    made_dark->Select(4);
    made_dark->Press(3);
    ExpectFormColours(*made_dark, "made under a dark desktop");
  }
}

// --- A screen reader ---------------------------------------------------------------

TEST(ConformanceTest, EveryControlHasANameAndARole) {
  auto g = MakeDriver();
  g->Select(4);
  g->Press(3);
  const struct {
    const char* name;
    int index;
    const char* spoken;
    Role role;
  } expected[] = {
      {"Text1", 0, "Логика - по 7 бутилки на 3 маси", Role::kText},
      {"List1", 0, "Пълна: 7", Role::kList},  // a pool says its count
      {"List1", 1, "Полу: 6", Role::kList},
      {"List1", 2, "Празна: 7", Role::kList},
      {"Command1", 0, "1 цяла = 2 полу", Role::kButton},
      {"Command1", 2, "Чисти", Role::kButton},
      {"Text2", 0, "1-ва Пълна", Role::kText},
      {"Text2", 4, "2-ра Полу", Role::kText},
      {"Text2", 8, "3-та Празна", Role::kText},
      {"Command1", 3, "Постави бутилка", Role::kButton},
      {"Command1", 4, "Върни бутилка", Role::kButton},
      {"Option1", 0, "1-1", Role::kRadioButton},
      {"Option1", 4, "2-0.5", Role::kRadioButton},
      {"Label3", 0, "1-ва", Role::kStaticText},
      {"Label3", 1, "2-ра = 1 / 0.5", Role::kStaticText},
  };
  for (const auto& e : expected) {
    EXPECT_EQ(g->SpokenName(e.name, e.index), e.spoken) << Name(e.name, e.index);
    EXPECT_EQ(g->SpokenRole(e.name, e.index), e.role) << Name(e.name, e.index);
  }
  for (const auto& c : MainForm::Description().controls) {
    if (forms::TakesFocus(c.kind)) {
      EXPECT_NE(g->SpokenName(c.name, c.index), "") << Name(c);
    }
    // The user can never type into the cells or the panels.
    if (c.kind == forms::ControlKind::kTextBox) {
      EXPECT_TRUE(g->SpokenReadOnly(c.name, c.index)) << Name(c);
    }
  }
}

// --- The whole games by keyboard ---------------------------------------------------

// A game's click made with the keyboard: Tab to the button and Space, or
// Tab into the selectors and the arrow keys to the one wanted.
class KeyboardPlayer : public scenarios::Driver {
 public:
  explicit KeyboardPlayer(conformance::Driver& g) : g_(g) {}
  void Click(const std::string& array, int index) override {
    if (array == "Command1") {
      if (!g_.Enabled(index)) return;  // Tab passes a disabled button by
      ASSERT_TRUE(TabTo(g_, Name("Command1", index)));
      g_.Type(Key::kSpace);
      return;
    }
    ASSERT_EQ(array, "Option1");
    ASSERT_TRUE(TabTo(g_, "Option1"));
    int at = FocusedSelector(g_);
    if (!g_.Checked(at)) {
      g_.Type(Key::kSpace);
    }
    for (; at / 3 < index / 3; at += 3) g_.Type(Key::kDown);
    for (; at / 3 > index / 3; at -= 3) g_.Type(Key::kUp);
    for (; at % 3 < index % 3; ++at) g_.Type(Key::kRight);
    for (; at % 3 > index % 3; --at) g_.Type(Key::kLeft);
    ASSERT_EQ(FocusedSelector(g_), index);
  }
  int PoolCount(int kind) override { return g_.PoolCount(kind); }
  std::string Cell(int cell) override { return g_.Cell(cell); }
  std::string Summary(int table) override { return g_.Summary(table); }
  bool Enabled(int button) override { return g_.Enabled(button); }
  bool Selected(int cell) override { return g_.Checked(cell); }
  int SelectedCell() override { return g_.SelectedCell(); }
  bool Reported() override { return g_.Report() != nullptr; }

 private:
  conformance::Driver& g_;
};

class KeyboardGameTest : public testing::TestWithParam<scenarios::Game> {};

TEST_P(KeyboardGameTest, PlaysAsWrittenWithTheKeyboard) {
  auto g = MakeDriver();
  KeyboardPlayer player(*g);
  for (const scenarios::Step& step : GetParam().steps) {
    EXPECT_EQ(scenarios::Play(player, step), "") << "line " << step.line;
    if (HasFatalFailure()) return;
  }
  EXPECT_FALSE(player.Reported());
}

INSTANTIATE_TEST_SUITE_P(Games, KeyboardGameTest, testing::ValuesIn(scenarios::Parse(kGamesText)),
                         [](const testing::TestParamInfo<scenarios::Game>& info) { return info.param.name; });

}  // namespace conformance
