// What the user expects of each control on Win32: a click anywhere in a
// selector's box selects it, Enter presses the focused button and nothing
// else, and the focus shows on every control. Clicks and keys are real
// messages through the window's own message loop.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/focusable.h"
#include "tests/shown.h"
#include "tests/win32/win32_fixture.h"

namespace {

using win32_test::Game;
using win32_test::Pump;

std::string Name(const forms::Control& c) { return std::string(c.name) + "(" + std::to_string(c.index) + ")"; }

// Runs the window's message loop over what has been posted, then hands back.
void RunPosted(Game& g) {
  PostQuitMessage(99);
  EXPECT_EQ(g.window.Run(), 99);
}

// One key pressed and released on the focused control; `keypad` for the
// keypad's Enter, an extended key.
void Key(Game& g, WPARAM key, bool keypad = false) {
  const LPARAM extended = keypad ? (LPARAM{1} << 24) : 0;
  HWND focus = GetFocus();
  PostMessageW(focus, WM_KEYDOWN, key, 1 | extended);
  PostMessageW(focus, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u) | extended);
  RunPosted(g);
}

TEST(Win32InputTest, AClickAtTheRightEdgeOfASelectorsBoxSelectsIt) {
  Game g;
  for (int c : {1, 0, 2, 4, 3, 5, 7, 6, 8}) {
    HWND selector = g.W("Option1", c);
    RECT box;
    GetWindowRect(selector, &box);
    POINT at{box.right - 1, (box.top + box.bottom) / 2};
    // The window the system gives a click there, then the click itself.
    HWND hit = WindowFromPoint(at);
    EXPECT_EQ(hit, selector) << c;
    ScreenToClient(hit, &at);
    PostMessageW(hit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageW(hit, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    RunPosted(g);
    EXPECT_EQ(g.SelectedCell(), c);
    EXPECT_EQ(g.form.Board().SelectedCell, c);
  }
}

TEST(Win32InputTest, EnterAndTheKeypadsEnterPressTheFocusedButtonOnce) {
  for (int b = 0; b < 5; ++b) {
    model::Shown once{};
    {
      Game clicked;
      model::ReadyFor(clicked, b);
      const model::Shown before = model::ShownOf(clicked);
      clicked.Press(b);
      once = model::ShownOf(clicked);
      ASSERT_NE(once, before) << "button " << b;
    }
    for (const bool keypad : {false, true}) {
      Game g;
      model::ReadyFor(g, b);
      SetFocus(g.W("Command1", b));
      ASSERT_EQ(GetFocus(), g.W("Command1", b));
      Key(g, VK_RETURN, keypad);
      EXPECT_EQ(model::ShownOf(g), once) << "button " << b << (keypad ? ", keypad" : "");
    }
  }
}

TEST(Win32InputTest, EnterOnAnythingButAButtonChangesNothing) {
  Game g;
  g.Press(0);
  const model::Shown before = model::ShownOf(g);
  for (const auto& c : MainForm::Description().controls) {
    if (!forms::TakesFocus(c.kind) || !c.visible || c.kind == forms::ControlKind::kButton) continue;
    HWND w = g.W(c.name, c.index);
    SetFocus(w);
    ASSERT_EQ(GetFocus(), w) << Name(c);
    Key(g, VK_RETURN);
    Key(g, VK_RETURN, true);
    EXPECT_EQ(model::ShownOf(g), before) << Name(c);
    EXPECT_TRUE(IsWindowVisible(g.Main()));
  }
}

// The pixels of the window inside a control's box (its edge included), as
// shown.
std::vector<COLORREF> Shot(Game& g, HWND control) {
  RedrawWindow(g.Main(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
  RECT box;
  GetWindowRect(control, &box);
  MapWindowPoints(nullptr, g.Main(), reinterpret_cast<POINT*>(&box), 2);
  std::vector<COLORREF> pixels;
  HDC dc = GetDC(g.Main());
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) pixels.push_back(GetPixel(dc, x, y));
  }
  ReleaseDC(g.Main(), dc);
  return pixels;
}
// Pixels that changed from one shot to the other by more than a faint shade.
int Changed(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
  int changed = 0;
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    const int d = std::abs(GetRValue(a[i]) - GetRValue(b[i])) + std::abs(GetGValue(a[i]) - GetGValue(b[i])) +
                  std::abs(GetBValue(a[i]) - GetBValue(b[i]));
    changed += d >= 192 ? 1 : 0;
  }
  return changed;
}

// Every control that takes the focus, with full and with empty pools, with
// a selector selected and not, before any key was pressed: the focus marks
// the control's box all round (at least its perimeter in clearly changed
// pixels), whatever its colour.
TEST(Win32InputTest, TheFocusShowsOnEveryControl) {
  Game g;
  tests::ForEachFocusable(g, [&g](const forms::Control& c, HWND w, HWND elsewhere, int round) {
    SetFocus(elsewhere);
    const std::vector<COLORREF> without = Shot(g, w);
    SetFocus(w);
    ASSERT_EQ(GetFocus(), w) << Name(c);
    const std::vector<COLORREF> with = Shot(g, w);
    RECT box;
    GetWindowRect(w, &box);
    EXPECT_GE(Changed(without, with), 2 * ((box.right - box.left) + (box.bottom - box.top)))
        << Name(c) << ", round " << round;
  });
}

}  // namespace
