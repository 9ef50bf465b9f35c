// MainForm on real Win32 controls: what it loads to start, games played with
// clicks and keys, the layout in pixels against the description, fonts,
// colours as drawn, tab order, the panel texts, the user's decimal separator
// and the error report.
#include <gtest/gtest.h>
#include <oleacc.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "board/errors.h"
#include "forms/cp1251.h"
#include "tests/conformance/driver.h"
#include "tests/win32/win32_fixture.h"
#include "window/panel_texts.h"

namespace {

using win32_test::Game;
using win32_test::Pump;
using win32_test::TextOf;

std::string Name(const forms::Control& c) { return std::string(c.name) + "(" + std::to_string(c.index) + ")"; }

// The DLLs that hand screen readers the controls' objects are loaded when
// the first object is asked for, not at every start: in a process of its
// own, where no other test has asked before.
void AskForTheFirstObject() {
  Game g;
  EXPECT_EQ(GetModuleHandleW(L"oleacc.dll"), nullptr);
  const LRESULT object = SendMessageW(g.W("Text2", 4), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
  const HMODULE oleacc = GetModuleHandleW(L"oleacc.dll");
  ASSERT_NE(oleacc, nullptr);
  ASSERT_GT(object, 0);
  // Taken as a client takes it, so that it is not kept for nothing.
  const auto take = reinterpret_cast<decltype(&ObjectFromLresult)>(
      reinterpret_cast<void (*)()>(GetProcAddress(oleacc, "ObjectFromLresult")));
  ASSERT_NE(take, nullptr);
  IAccessible* accessible = nullptr;
  ASSERT_EQ(take(object, __uuidof(IAccessible), 0, reinterpret_cast<void**>(&accessible)), S_OK);
  accessible->Release();
}
TEST(Win32StartTest, TheScreenReaderDllsWaitForTheFirstQuestion) {
  EXPECT_EXIT((AskForTheFirstObject(), std::exit(::testing::Test::HasFailure() ? 1 : 0)), ::testing::ExitedWithCode(0),
              "");
}

TEST(Win32GameTest, TheElementsRefuseWhatTheyDoNotHave) {
  Game g;
  EXPECT_THROW(g.window.List("List1", 3), board::NoSuchElementError);
  EXPECT_THROW(g.window.Text("List1", 0), board::NoSuchElementError);
  EXPECT_THROW(g.window.Caption("Label9", 0), board::NoSuchElementError);
  board::List& pool = g.window.List("List1", 0);
  EXPECT_THROW(pool.RemoveAt(7), board::NoSuchElementError);
  EXPECT_THROW(pool.RemoveAt(-1), board::NoSuchElementError);
  pool.RemoveAt(6);
  EXPECT_EQ(g.PoolCount(0), 6);
}

// --- Layout -----------------------------------------------------------------

// Where a control is, in its window's client coordinates.
RECT ActualRect(HWND window, HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::string Str(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
         std::to_string(r.bottom - r.top);
}

// At a new DPI each control's place is its place at 96 dpi (which the
// conformance suite checks against the description) scaled, within the
// rounding of its own and its frame's twips; back at 96 dpi, exactly that.
void ExpectLayoutAt(Game& g, int dpi, const std::vector<RECT>& at96) {
  const forms::Form& form = MainForm::Description();
  RECT client;
  GetClientRect(g.Main(), &client);
  // The client area's twips, rounded to pixels.
  EXPECT_EQ(Str(client), Str({0, 0, (7200 * dpi + 720) / 1440, (6360 * dpi + 720) / 1440}));
  const int slack = dpi == 96 ? 0 : 2;
  for (std::size_t i = 0; i < form.controls.size(); ++i) {
    const forms::Control& c = form.controls[i];
    HWND w = g.W(c.name, c.index);
    ASSERT_NE(w, nullptr) << Name(c);
    EXPECT_EQ(GetParent(w), g.Main()) << Name(c);
    const RECT got = ActualRect(g.Main(), w), want = at96[i];
    const auto close_to = [&](LONG a, LONG b) { return std::abs(a - MulDiv(b, dpi, 96)) <= slack; };
    EXPECT_TRUE(close_to(got.left, want.left) && close_to(got.top, want.top) && close_to(got.right, want.right) &&
                close_to(got.bottom, want.bottom))
        << Name(c) << " at " << dpi << " dpi: " << Str(got) << ", at 96 dpi " << Str(want);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr) << Name(c);
    LOGFONTW face{};
    ASSERT_EQ(GetObjectW(font, sizeof face, &face), static_cast<int>(sizeof face));
    EXPECT_STREQ(face.lfFaceName, L"Times New Roman") << Name(c);
    EXPECT_EQ(face.lfHeight, -MulDiv(12, dpi, 72)) << Name(c);
    EXPECT_EQ(face.lfWeight, FW_NORMAL) << Name(c);
    EXPECT_EQ(face.lfCharSet, RUSSIAN_CHARSET) << Name(c);
    EXPECT_FALSE(face.lfItalic || face.lfUnderline || face.lfStrikeOut) << Name(c);
  }
}

// Every control's place as laid out at 96 dpi.
std::vector<RECT> PlacesAt96(Game& g) {
  EXPECT_EQ(g.window.Dpi(), 96);
  std::vector<RECT> at96;
  for (const auto& c : MainForm::Description().controls) at96.push_back(ActualRect(g.Main(), g.W(c.name, c.index)));
  return at96;
}

TEST(Win32LayoutTest, ANewDpiLaysTheWindowOutAgain) {
  Game g;
  const std::vector<RECT> at96 = PlacesAt96(g);
  for (const int dpi : {144, 120, 96}) {
    RECT outer;
    GetWindowRect(g.Main(), &outer);
    RECT suggested = {outer.left, outer.top, outer.left + MulDiv(outer.right - outer.left, dpi, g.window.Dpi()),
                      outer.top + MulDiv(outer.bottom - outer.top, dpi, g.window.Dpi())};
    SendMessageW(g.Main(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(g.window.Dpi(), dpi);
    ExpectLayoutAt(g, dpi, at96);
  }
}

// The window moved to a monitor of another DPI, as the system tells it: the
// size it suggests is the old one scaled.
void MoveToDpi(Game& g, int dpi) {
  RECT outer;
  GetWindowRect(g.Main(), &outer);
  RECT suggested = {outer.left, outer.top, outer.left + MulDiv(outer.right - outer.left, dpi, g.window.Dpi()),
                    outer.top + MulDiv(outer.bottom - outer.top, dpi, g.window.Dpi())};
  SendMessageW(g.Main(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

// At 192 dpi (and at 168 where the frame is that of Windows) the window is
// taller than this 1024 x 768 screen: it is laid out whole at the largest DPI
// at which it fits the work area, and stands on it, nothing cut off, nothing
// out of reach; where it fits, it keeps the monitor's DPI.
TEST(Win32LayoutTest, AtALargeScaleOnASmallScreenTheWindowFits) {
  Game g;
  const int before = g.window.Dpi();
  const std::vector<RECT> at96 = PlacesAt96(g);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(g.Main(), MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT work = monitor.rcWork;
  ASSERT_GT(forms::TwipsToPixels(6360, 192), work.bottom - work.top) << "a screen this tall fits the window anyway";
  for (const int monitor_dpi : {168, 192}) {
    MoveToDpi(g, monitor_dpi);
    const int dpi = g.window.Dpi();
    RECT outer;
    GetWindowRect(g.Main(), &outer);
    RECT client;
    GetClientRect(g.Main(), &client);
    // The frame is the system's, at the monitor's DPI.
    const int frame_x = (outer.right - outer.left) - client.right;
    const int frame_y = (outer.bottom - outer.top) - client.bottom;
    const auto fits = [&](int at) {
      return forms::TwipsToPixels(7200, at) + frame_x <= work.right - work.left &&
             forms::TwipsToPixels(6360, at) + frame_y <= work.bottom - work.top;
    };
    if (fits(monitor_dpi)) {
      // Wine's frame, smaller than Windows' at 168 dpi, leaves room for it.
      EXPECT_EQ(dpi, monitor_dpi);
    } else {
      EXPECT_TRUE(fits(dpi) && !fits(dpi + 1)) << dpi << " dpi is not the largest that fits, at " << monitor_dpi;
    }
    ExpectLayoutAt(g, dpi, at96);
    EXPECT_TRUE(outer.left >= work.left && outer.top >= work.top && outer.right <= work.right &&
                outer.bottom <= work.bottom)
        << Str(outer) << " is not within the work area " << Str(work) << " at " << monitor_dpi << " dpi";
  }
  // Where it fits, the monitor's own.
  MoveToDpi(g, 144);
  EXPECT_EQ(g.window.Dpi(), 144);
  MoveToDpi(g, before);
  EXPECT_EQ(g.window.Dpi(), before);
  ExpectLayoutAt(g, before, at96);
}

void Repaint(Game& g) {
  RedrawWindow(g.Main(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
}

// A step between the middles of two neighbouring count cells crosses a dark
// line: the sunken edge of the later cell, over the light one of the
// earlier.
bool LineBetween(Game& g, int a, int b) {
  const RECT ra = ActualRect(g.Main(), g.W("Text2", a));
  const RECT rb = ActualRect(g.Main(), g.W("Text2", b));
  POINT at{(ra.left + ra.right) / 2, (ra.top + ra.bottom) / 2};
  const POINT to{b == a + 1 ? rb.left + 4 : at.x, b == a + 1 ? at.y : rb.top + 4};
  HDC dc = GetDC(g.Main());
  bool dark = false;
  for (; !dark && (at.x < to.x || at.y < to.y); at.x < to.x ? ++at.x : ++at.y) {
    const COLORREF c = GetPixel(dc, at.x, at.y);
    dark = GetRValue(c) <= 0x80 && GetGValue(c) <= 0x80 && GetBValue(c) <= 0x80;
  }
  ReleaseDC(g.Main(), dc);
  return dark;
}

// At 144 dpi the count cells, 405 twips tall on a 360-twip pitch and 735
// wide on 720, overlap; whichever cell repaints (a move), the line between
// every two neighbours stays.
TEST(Win32LayoutTest, TheCountCellsKeepTheirEdgesAt144Dpi) {
  Game g;
  RECT outer;
  GetWindowRect(g.Main(), &outer);
  RECT suggested = {outer.left, outer.top, outer.left + MulDiv(outer.right - outer.left, 144, g.window.Dpi()),
                    outer.top + MulDiv(outer.bottom - outer.top, 144, g.window.Dpi())};
  SendMessageW(g.Main(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  ASSERT_EQ(g.window.Dpi(), 144);
  Repaint(g);
  for (const int cell : {0, 4, 8, 7, 6, 3, 1, 5, 2, 0, 4}) {
    g.Select(cell);
    g.Press(3);  // the cell shows one more
    Pump();
    for (int c = 0; c < 9; ++c) {
      if (c % 3 < 2) {
        EXPECT_TRUE(LineBetween(g, c, c + 1)) << "cells " << c << ", " << c + 1 << ", after " << cell;
      }
      if (c < 6) {
        EXPECT_TRUE(LineBetween(g, c, c + 3)) << "cells " << c << ", " << c + 3 << ", after " << cell;
      }
    }
  }
}

TEST(Win32LayoutTest, TheWindowItself) {
  Game g;
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(g.Main(), GWL_STYLE));
  const auto ex_style = static_cast<DWORD>(GetWindowLongPtrW(g.Main(), GWL_EXSTYLE));
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);  // not resizable
  EXPECT_TRUE(ex_style & WS_EX_CONTROLPARENT);
  EXPECT_TRUE(IsWindowVisible(g.Main()));
  EXPECT_EQ(TextOf(g.Main()), u"http://bottles.example.org   Философия - Логика");

  // Centred on the work area of its monitor.
  RECT outer;
  GetWindowRect(g.Main(), &outer);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(g.Main(), MONITOR_DEFAULTTONEAREST), &monitor));
  const RECT& work = monitor.rcWork;
  EXPECT_LE(std::abs((outer.left + outer.right) - (work.left + work.right)), 2);
  EXPECT_LE(std::abs((outer.top + outer.bottom) - (work.top + work.bottom)), 2);
}

TEST(Win32LayoutTest, TheFontHasTheCyrillicLetters) {
  Game g;
  HWND label = g.W("Label1", 0);
  HDC dc = GetDC(label);
  const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
  EXPECT_EQ(GetTextCharset(dc), RUSSIAN_CHARSET);
  const wchar_t letters[] = L"ЖжЩщЪъЮюЯяБбГг";
  WORD glyphs[std::size(letters)] = {};
  ASSERT_NE(
      GetGlyphIndicesW(dc, letters, static_cast<int>(std::size(letters) - 1), glyphs, GGI_MARK_NONEXISTING_GLYPHS),
      GDI_ERROR);
  for (std::size_t i = 0; i + 1 < std::size(letters); ++i) EXPECT_NE(glyphs[i], 0xFFFF) << i;
  SelectObject(dc, old);
  ReleaseDC(label, dc);
}

TEST(Win32LayoutTest, TheControlsAreOfTheirKinds) {
  Game g;
  for (const auto& c : MainForm::Description().controls) {
    HWND w = g.W(c.name, c.index);
    wchar_t window_class[32] = {};
    GetClassNameW(w, window_class, 32);
    const std::wstring cls(window_class);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(w, GWL_STYLE));
    switch (c.kind) {
      case forms::ControlKind::kLabel:
        EXPECT_EQ(_wcsicmp(cls.c_str(), L"Static"), 0) << Name(c);
        EXPECT_EQ(style & SS_TYPEMASK, static_cast<DWORD>(SS_CENTER)) << Name(c);
        break;
      case forms::ControlKind::kFrame:
        EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_GROUPBOX)) << Name(c);
        break;
      case forms::ControlKind::kOptionButton:
        EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_AUTORADIOBUTTON)) << Name(c);
        EXPECT_EQ((style & WS_GROUP) != 0, c.index == 0) << Name(c);
        break;
      case forms::ControlKind::kButton:
        EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW)) << Name(c);
        break;
      case forms::ControlKind::kTextBox:
        EXPECT_EQ(_wcsicmp(cls.c_str(), L"Edit"), 0) << Name(c);
        EXPECT_TRUE(style & ES_READONLY) << Name(c);
        EXPECT_EQ((style & ES_MULTILINE) != 0, c.multi_line) << Name(c);
        EXPECT_EQ((style & WS_VSCROLL) != 0, c.multi_line) << Name(c);
        break;
      case forms::ControlKind::kListBox:
        EXPECT_EQ(_wcsicmp(cls.c_str(), L"ListBox"), 0) << Name(c);
        EXPECT_TRUE(style & LBS_NOINTEGRALHEIGHT) << Name(c);
        EXPECT_FALSE(style & LBS_SORT) << Name(c);
        break;
    }
    // The control after the last selector starts a group of its own.
    if (c.kind != forms::ControlKind::kOptionButton) {
      EXPECT_TRUE(style & WS_GROUP) << Name(c);
    }
  }
}

// --- Colours, as drawn --------------------------------------------------------

// A pixel of the window's client area as it is drawn.
COLORREF PixelAt(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}
COLORREF PixelOf(Game& g, HWND control, int x, int y) {
  const RECT r = ActualRect(g.Main(), control);
  return PixelAt(g.Main(), r.left + x, r.top + y);
}
std::string Hex(COLORREF c) {
  char text[16];
  snprintf(text, sizeof text, "%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return text;
}

int Brightness(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); }

// Pixels inside a button's edge darker than any of its colours but the text.
int DarkPixels(Game& g, HWND button) {
  RECT r;
  GetClientRect(button, &r);
  int dark = 0;
  for (int y = 3; y < r.bottom - 3; ++y) {
    for (int x = 3; x < r.right - 3; ++x) {
      const COLORREF c = PixelOf(g, button, x, y);
      if (GetRValue(c) < 0x40 && GetGValue(c) < 0x40 && GetBValue(c) < 0x40) ++dark;
    }
  }
  return dark;
}
int PixelsOfColour(Game& g, HWND button, COLORREF colour) {
  RECT r;
  GetClientRect(button, &r);
  int n = 0;
  for (int y = 3; y < r.bottom - 3; ++y) {
    for (int x = 3; x < r.right - 3; ++x) n += PixelOf(g, button, x, y) == colour ? 1 : 0;
  }
  return n;
}

TEST(Win32ColourTest, ButtonsAreDrawnFlatRaisedPressedAndGreyed) {
  Game g;
  HWND pour = g.W("Command1", 0);
  HWND clear = g.W("Command1", 2);
  Repaint(g);
  RECT r;
  GetClientRect(clear, &r);
  // Raised: light at the top left, dark at the bottom right.
  EXPECT_GT(Brightness(PixelOf(g, clear, 0, 0)), Brightness(PixelOf(g, clear, r.right - 1, r.bottom - 1)));
  EXPECT_GT(DarkPixels(g, pour), 20);  // the caption, in black
  EXPECT_EQ(PixelsOfColour(g, pour, RGB(0x80, 0x80, 0x80)), 0);

  SendMessageW(clear, BM_SETSTATE, TRUE, 0);  // held down
  Repaint(g);
  EXPECT_LT(Brightness(PixelOf(g, clear, 0, 0)), Brightness(PixelOf(g, clear, r.right - 1, r.bottom - 1)));
  EXPECT_EQ(Hex(PixelOf(g, clear, 4, 4)), "FF0000");
  SendMessageW(clear, BM_SETSTATE, FALSE, 0);

  g.Press(3);  // ends pouring
  ASSERT_FALSE(g.Enabled(0));
  Repaint(g);
  EXPECT_EQ(DarkPixels(g, pour), 0);
  EXPECT_GT(PixelsOfColour(g, pour, RGB(0x80, 0x80, 0x80)), 20);
  EXPECT_EQ(Hex(PixelOf(g, pour, 4, 4)), "8080FF");
}

// The system's colours a high-contrast scheme's, white on black, for as long
// as it lives: back as they were even when the test fails on the way.
class HighContrastScheme {
 public:
  HighContrastScheme() {
    for (std::size_t i = 0; i < std::size(kElements); ++i) saved_[i] = GetSysColor(kElements[i]);
    EXPECT_TRUE(SetSysColors(static_cast<int>(std::size(kElements)), kElements, kColours));
    Pump();
  }
  ~HighContrastScheme() {
    EXPECT_TRUE(SetSysColors(static_cast<int>(std::size(kElements)), kElements, saved_));
    Pump();
  }
  HighContrastScheme(const HighContrastScheme&) = delete;
  HighContrastScheme& operator=(const HighContrastScheme&) = delete;

 private:
  static constexpr int kElements[] = {COLOR_WINDOW,   COLOR_WINDOWTEXT, COLOR_BTNFACE,       COLOR_BTNTEXT,
                                      COLOR_GRAYTEXT, COLOR_HIGHLIGHT,  COLOR_HIGHLIGHTTEXT, COLOR_BTNHIGHLIGHT,
                                      COLOR_3DLIGHT,  COLOR_BTNSHADOW,  COLOR_3DDKSHADOW};
  static constexpr COLORREF kColours[] = {RGB(0, 0, 0),          RGB(0xFF, 0xFF, 0xFF), RGB(0, 0, 0),
                                          RGB(0xFF, 0xFF, 0xFF), RGB(0x3F, 0xF2, 0x3F), RGB(0x1A, 0xEB, 0xFF),
                                          RGB(0, 0, 0),          RGB(0xFF, 0xFF, 0xFF), RGB(0xFF, 0xFF, 0xFF),
                                          RGB(0x80, 0x80, 0x80), RGB(0xFF, 0xFF, 0xFF)};
  COLORREF saved_[std::size(kElements)] = {};
};

unsigned Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// High contrast, asked of the system through the one function that asks (a
// double here: Wine always answers "off"): the form takes the system's
// colours, the boxes its window colours, disabled captions its grey text;
// under a white-on-black scheme every caption stands at 7:1 at least and the
// checked selector's mark differs from the others in brightness, not only
// in hue; when the system's colours change and it answers "off" again, the
// described colours are back.
bool high_contrast_asked = true;
TEST(Win32ColourTest, HighContrastTakesTheSystemsColoursWhileAsked) {
  struct Restore {
    bool (*asked)() = forms::win32::HighContrastOn;
    ~Restore() { forms::win32::HighContrastOn = asked; }
  } restore;
  high_contrast_asked = true;
  forms::win32::HighContrastOn = [] { return high_contrast_asked; };
  Game g;
  g.Press(3);  // the pouring buttons disabled
  g.Click("Option1", 4);
  {
    const HighContrastScheme scheme;
    Repaint(g);
    const COLORREF back = GetSysColor(COLOR_BTNFACE);
    for (const forms::Control& c : MainForm::Description().controls) {
      if (c.kind == forms::ControlKind::kTextBox || c.kind == forms::ControlKind::kListBox || *c.caption == '\0') {
        continue;
      }
      const HWND w = g.W(c.name, c.index);
      RECT r;
      GetClientRect(w, &r);
      int legible = 0;
      for (int y = 0; y < r.bottom; ++y) {
        for (int x = 0; x < r.right; ++x) legible += conformance::Contrast(Rgb(PixelOf(g, w, x, y)), Rgb(back)) >= 7;
      }
      EXPECT_GE(legible, 20) << Name(c);
    }
    // The middle of the mark: the dot of the checked selector, the well of
    // the others.
    const auto middle = [&g](int cell) {
      RECT r;
      GetClientRect(g.W("Option1", cell), &r);
      return Rgb(PixelOf(g, g.W("Option1", cell), 7, r.bottom / 2));
    };
    EXPECT_GE(conformance::Contrast(middle(4), middle(1)), 7.0);
    EXPECT_EQ(middle(1), middle(8));
  }
  Repaint(g);
  const std::string face = Hex(GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(Hex(PixelAt(g.Main(), 2, 40)), face);
  EXPECT_EQ(Hex(PixelOf(g, g.W("Command1", 2), 4, 4)), face);
  EXPECT_EQ(Hex(PixelOf(g, g.W("Text2", 4), 4, 4)), Hex(GetSysColor(COLOR_WINDOW)));
  EXPECT_GT(PixelsOfColour(g, g.W("Command1", 0), GetSysColor(COLOR_GRAYTEXT)), 20);
  EXPECT_GT(PixelsOfColour(g, g.W("Command1", 3), GetSysColor(COLOR_BTNTEXT)), 20);

  high_contrast_asked = false;
  SendMessageW(g.Main(), WM_SYSCOLORCHANGE, 0, 0);
  Repaint(g);
  EXPECT_EQ(Hex(PixelAt(g.Main(), 2, 40)), "C0C0FF");
  EXPECT_EQ(Hex(PixelOf(g, g.W("Command1", 2), 4, 4)), "FF0000");
}

TEST(Win32ColourTest, TheFocusedButtonIsMarked) {
  Game g;
  HWND clear = g.W("Command1", 2);
  RECT r;
  GetClientRect(clear, &r);
  const auto marked = [&] {
    int off = 0;
    for (int x = 4; x < r.right - 4; ++x) off += PixelOf(g, clear, x, 4) != RGB(0xFF, 0, 0) ? 1 : 0;
    return off;
  };
  SetFocus(g.W("Text1", 0));
  Repaint(g);
  EXPECT_EQ(marked(), 0);
  // As after a key press, when the focus is shown.
  SendMessageW(g.Main(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  SetFocus(clear);
  Repaint(g);
  EXPECT_GT(marked(), r.right / 4);
}

// --- Focus and keys -------------------------------------------------------------

std::string NameOf(Game& g, HWND w) {
  for (const auto& c : MainForm::Description().controls) {
    if (g.W(c.name, c.index) == w) return Name(c);
  }
  return w == nullptr ? "nothing" : "another window";
}

// The statement panel, which has the first focus, shows its first line.
TEST(Win32FocusTest, TheStatementPanelStartsAtItsFirstLine) {
  Game g;
  EXPECT_EQ(SendMessageW(g.W("Text1", 0), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

// The focused control keeps the focus while another window is active, and
// WM_NEXTDLGCTL moves it along the tab stops, as in any dialog.
TEST(Win32FocusTest, TheFocusComesBackAfterAnotherWindowAndMovesOnRequest) {
  Game g;
  SetFocus(g.W("Command1", 2));
  const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  SetForegroundWindow(other);
  SetActiveWindow(other);
  Pump();
  EXPECT_NE(GetFocus(), g.W("Command1", 2));
  SetForegroundWindow(g.Main());
  SetActiveWindow(g.Main());
  Pump();
  EXPECT_EQ(NameOf(g, GetFocus()), "Command1(2)");
  DestroyWindow(other);
  SendMessageW(g.Main(), WM_NEXTDLGCTL, 0, FALSE);
  EXPECT_EQ(NameOf(g, GetFocus()), "Text2(0)");
  SendMessageW(g.Main(), WM_NEXTDLGCTL, 1, FALSE);
  EXPECT_EQ(NameOf(g, GetFocus()), "Command1(2)");
  SendMessageW(g.Main(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(g.W("List1", 1)), TRUE);
  EXPECT_EQ(NameOf(g, GetFocus()), "List1(1)");
}

// --- Texts ------------------------------------------------------------------------

TEST(Win32TextTest, ThePanelsKeepTheirTextsWithCrLf) {
  Game g;
  const std::u16string statement = TextOf(g.W("Text1", 0));
  EXPECT_EQ(statement, forms::DecodeCp1251(kStatementText));
  EXPECT_EQ(statement.rfind(u"Трима приятели организират купон.", 0), 0u);
  std::size_t line_ends = 0;
  for (std::size_t at = statement.find(u"\r\n"); at != std::u16string::npos; at = statement.find(u"\r\n", at + 2)) {
    ++line_ends;
  }
  EXPECT_EQ(line_ends, 10u);
  EXPECT_EQ(g.window.Text("Text1", 0).Get(), std::string(kStatementText));
  EXPECT_EQ(g.window.Text("Text1", 1).Get(), std::string(kQuotationText));
  // Word-wrapped, with more lines than the panel shows.
  HWND panel = g.W("Text1", 0);
  EXPECT_GT(SendMessageW(panel, EM_GETLINECOUNT, 0, 0), 11);
  SendMessageW(panel, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_GT(SendMessageW(panel, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

// Every caption fits its control in the control's own font, whatever face
// the system gave for Times New Roman: no word is wider than its room, no
// line falls below it.
TEST(Win32TextTest, EveryCaptionFitsItsControl) {
  Game g;
  for (const auto& c : MainForm::Description().controls) {
    const std::u16string text = TextOf(g.W(c.name, c.index));
    if (text.empty() || c.kind == forms::ControlKind::kTextBox || c.kind == forms::ControlKind::kListBox) continue;
    HWND w = g.W(c.name, c.index);
    RECT room;
    GetClientRect(w, &room);
    UINT format = DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK;
    switch (c.kind) {
      case forms::ControlKind::kButton: InflateRect(&room, -4, -3); break;  // the bevel and a margin
      case forms::ControlKind::kOptionButton:                               // one line beside the round box
        room.left += GetSystemMetrics(SM_CXMENUCHECK) + 4;
        format = DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE;
        break;
      case forms::ControlKind::kFrame: InflateRect(&room, -8, 0); break;  // one line in the top edge
      default: break;
    }
    HDC dc = GetDC(w);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)));
    const std::wstring wide(text.begin(), text.end());
    RECT need{0, 0, room.right - room.left, 0};
    DrawTextW(dc, wide.c_str(), -1, &need, format);
    SelectObject(dc, old);
    ReleaseDC(w, dc);
    EXPECT_LE(need.right, room.right - room.left) << Name(c) << " is too wide";
    if (c.kind == forms::ControlKind::kFrame) continue;
    EXPECT_LE(need.bottom, room.bottom - room.top) << Name(c) << " is too tall";
  }
}

// --- The user's locale ---------------------------------------------------------

class SavedDecimal {
 public:
  SavedDecimal() { GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved_, 8); }
  ~SavedDecimal() { SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved_); }
  SavedDecimal(const SavedDecimal&) = delete;
  SavedDecimal& operator=(const SavedDecimal&) = delete;

 private:
  wchar_t saved_[8] = {};
};

// sDecimal as the user set it, up to three characters, outside Windows-1251
// too; changed while the window is open (as the regional settings do it: the
// value, then WM_SETTINGCHANGE "intl" to the windows), the next summary has
// the new one. The user's value is put back whatever happens.
TEST(Win32LocaleTest, TheSeparatorIsTheUsersAsItIsNow) {
  SavedDecimal saved;
  ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L"--"));
  Game g("");
  EXPECT_EQ(g.window.DecimalSeparator(), "--");
  g.Select(1);
  g.Press(3);
  EXPECT_EQ(g.Summary(0), " = 1 / 0--5");
  ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L"\u066B"));
  SendMessageW(g.window.Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
  g.Select(4);
  g.Press(3);
  EXPECT_EQ(g.Summary(1), " = 1 / 0\u066B5");
  EXPECT_EQ(g.Summary(0), " = 1 / 0--5");  // written before the change
  g.Select(1);
  g.Press(4);
  g.Press(3);
  EXPECT_EQ(g.Summary(0), " = 1 / 0\u066B5");
}

// --- Errors -----------------------------------------------------------------------

// The standard report: an error box with the report's title and text, then
// the end of the message loop with exit code 1. A timer on this thread reads
// the box while it is up, and closes it as the user would; no box within
// 10 s ends the loop with code 4.
struct SeenBox {
  DWORD started = 0;
  bool seen = false;
  std::u16string text;
  bool error_icon = false;
};
SeenBox seen_box;

BOOL CALLBACK ReadBoxChild(HWND child, LPARAM) {
  wchar_t window_class[16] = {};
  GetClassNameW(child, window_class, 16);
  if (_wcsicmp(window_class, L"Static") != 0) return TRUE;
  if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
    seen_box.error_icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0)) ==
                          LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_ERROR));
  } else {
    const std::u16string text = TextOf(child);
    if (!text.empty()) seen_box.text = text;
  }
  return TRUE;
}

void CALLBACK CloseBox(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = FindWindowW(L"#32770", L"Философия - Логика");
  if (box == nullptr && GetTickCount() - seen_box.started > 10000) PostQuitMessage(4);
  if (box == nullptr) return;
  KillTimer(nullptr, timer);
  seen_box.seen = true;
  EnumChildWindows(box, ReadBoxChild, 0);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST(Win32ErrorTest, TheStandardReportIsAnErrorBoxThenExitCodeOne) {
  forms::win32::FormWindow window(MainForm::Description());
  MainForm form(window, window);
  ASSERT_TRUE(window.Load(form));
  window.ShowCentred();
  SetWindowTextW(window.Widget("Text2", 3), L"40000");
  SendMessageW(window.Widget("Option1", 3), BM_CLICK, 0, 0);
  // The faulty click comes from the message loop, as the user's would.
  PostMessageW(window.Widget("Command1", 3), BM_CLICK, 0, 0);
  seen_box.started = GetTickCount();
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, CloseBox);
  ASSERT_NE(timer, 0u);
  EXPECT_EQ(window.Run(), 1);
  KillTimer(nullptr, timer);
  EXPECT_TRUE(seen_box.seen);
  EXPECT_EQ(seen_box.text.rfind(u"Грешка при изпълнение 6:", 0), 0u) << forms::EncodeCp1251(seen_box.text);
  EXPECT_TRUE(seen_box.error_icon);
  EXPECT_FALSE(IsWindowVisible(window.Handle()));
}

}  // namespace
