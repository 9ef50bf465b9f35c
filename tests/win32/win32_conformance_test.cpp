// The conformance cases on real Win32 controls under the system's own input:
// clicks and keys as messages through the window's message loop (so through
// the dialog manager), a double click through SendInput, pixels as drawn,
// and what MSAA tells a screen reader.
#include <oleacc.h>
#include <windows.h>

#include <memory>

#include "tests/conformance/suite.h"
#include "tests/win32/win32_fixture.h"

namespace {

using conformance::Key;
using conformance::Role;
using win32_test::Pump;
using win32_test::TextOf;
using win32_test::Utf8;

// Whether the thread's queue handed out a double click.
bool double_click_seen = false;
LRESULT CALLBACK WatchDoubleClicks(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION && reinterpret_cast<const MSG*>(lparam)->message == WM_LBUTTONDBLCLK) double_click_seen = true;
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

struct Release {
  void operator()(IUnknown* object) const { object->Release(); }
};

// COM for the driver's thread, as a client of MSAA must have, before the
// window is made.
class Apartment {
 public:
  Apartment() : com_(CoInitialize(nullptr)) {}
  ~Apartment() {
    if (SUCCEEDED(com_)) CoUninitialize();
  }
  Apartment(const Apartment&) = delete;
  Apartment& operator=(const Apartment&) = delete;

 private:
  HRESULT com_;
};

class Win32Driver : private Apartment, public conformance::FixtureDriver<win32_test::Game> {
 public:
  explicit Win32Driver(std::string separator) : FixtureDriver(std::move(separator)) {
    SetForegroundWindow(g_.Main());
    Pump();
  }

  // Where the system gives a click at that point, then the click itself.
  void ClickAt(const char* name, int index, int x, int y) override {
    RECT box;
    GetWindowRect(g_.W(name, index), &box);
    POINT at{box.left + x, box.top + y};
    const HWND hit = WindowFromPoint(at);
    EXPECT_EQ(hit, g_.W(name, index)) << conformance::Name(name, index);
    ScreenToClient(hit, &at);
    PostMessageW(hit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageW(hit, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    RunPosted();
  }
  // Two quick presses of the mouse through the system's input queue.
  bool DoubleClick(const char* name, int index) override {
    RECT r;
    GetWindowRect(g_.W(name, index), &r);
    SetForegroundWindow(g_.Main());
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Pump();
    double_click_seen = false;
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, WatchDoubleClicks, nullptr, GetCurrentThreadId());
    INPUT presses[4] = {};
    for (int i = 0; i < 4; ++i) {
      presses[i].type = INPUT_MOUSE;
      presses[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    }
    EXPECT_EQ(SendInput(4, presses, sizeof(INPUT)), 4u);
    // SendInput has queued all four: until both clicks are handled and no
    // input is left in the queue (a third click would be seen by then), for
    // 5 s at the most.
    const int before = g_.handlers.Clicks(name, index);
    for (const DWORD started = GetTickCount();
         (g_.handlers.Clicks(name, index) < before + 2 || HIWORD(GetQueueStatus(QS_INPUT)) != 0) &&
         GetTickCount() - started < 5000;) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);  // a message, or look again
      Pump();
    }
    UnhookWindowsHookEx(hook);
    return double_click_seen;
  }
  void Focus(const char* name, int index) override {
    SetFocus(g_.W(name, index));
    Pump();
  }
  // Pressed and released on the focused control, through the window's own
  // message loop; the keypad's Enter is an extended key.
  void Type(Key key) override {
    WPARAM code = 0;
    LPARAM extended = 0;
    switch (key) {
      case Key::kTab: code = VK_TAB; break;
      case Key::kSpace: code = VK_SPACE; break;
      case Key::kEnter: code = VK_RETURN; break;
      case Key::kKeypadEnter: code = VK_RETURN, extended = LPARAM{1} << 24; break;
      case Key::kEscape: code = VK_ESCAPE; break;
      case Key::kLeft: code = VK_LEFT; break;
      case Key::kRight: code = VK_RIGHT; break;
      case Key::kUp: code = VK_UP; break;
      case Key::kDown: code = VK_DOWN; break;
      case Key::kPageDown: code = VK_NEXT; break;
      case Key::kEnd: code = VK_END; break;
      case Key::kDigit5: code = '5'; break;
      case Key::kDelete: code = VK_DELETE; break;
    }
    const HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, code, 1 | extended);
    PostMessageW(focus, WM_KEYUP, code, static_cast<LPARAM>(0xC0000001u) | extended);
    RunPosted();
  }
  std::string Focused() override {
    for (const auto& c : MainForm::Description().controls) {
      if (g_.W(c.name, c.index) == GetFocus()) return conformance::Name(c);
    }
    return "";
  }

  forms::Box PlaceOf(const char* name, int index) override {
    RECT r;
    GetWindowRect(g_.W(name, index), &r);
    MapWindowPoints(nullptr, g_.Main(), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
  }
  int Dpi() override { return g_.window.Dpi(); }
  bool Shown(const char* name, int index) override { return IsWindowVisible(g_.W(name, index)) != FALSE; }
  std::string CaptionOf(const char* name, int index) override { return Utf8(TextOf(g_.W(name, index))); }
  // The window's pixels in the box, copied at once into a bitmap of ours.
  conformance::Shot ShotOf(const char* name, int index) override {
    RedrawWindow(g_.Main(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    const forms::Box box = PlaceOf(name, index);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = box.width;
    info.bmiHeader.biHeight = -box.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HDC window = GetDC(g_.Main());
    const HDC memory = CreateCompatibleDC(window);
    const HBITMAP bitmap = CreateDIBSection(window, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, box.width, box.height, window, box.left, box.top, SRCCOPY);
    GdiFlush();
    conformance::Shot shot{box.width, box.height, {}};
    const auto* pixels = static_cast<const unsigned*>(bits);
    shot.pixels.assign(pixels, pixels + static_cast<std::size_t>(box.width) * static_cast<std::size_t>(box.height));
    for (unsigned& p : shot.pixels) p &= 0xFFFFFFu;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(g_.Main(), window);
    return shot;
  }
  bool EntryInView(int kind, int entry) override {
    const HWND list = g_.W("List1", kind);
    const auto top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    const auto height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    RECT client;
    GetClientRect(list, &client);
    return entry >= top && (entry - top + 1) * height <= client.bottom;
  }
  std::u16string PanelText(int index) override { return TextOf(g_.W("Text1", index)); }

  std::string SpokenName(const char* name, int index) override {
    const auto object = Object(name, index);
    if (!object) return "<no object>";
    BSTR text = nullptr;
    if (object->get_accName(Self(), &text) != S_OK) {
      SysFreeString(text);
      return "<no name>";
    }
    const std::u16string spoken(text, text + SysStringLen(text));
    SysFreeString(text);
    return Utf8(spoken);
  }
  Role SpokenRole(const char* name, int index) override {
    const auto object = Object(name, index);
    VARIANT role;
    VariantInit(&role);
    if (!object || FAILED(object->get_accRole(Self(), &role)) || role.vt != VT_I4) return Role::kOther;
    switch (role.lVal) {
      case ROLE_SYSTEM_TEXT: return Role::kText;
      case ROLE_SYSTEM_LIST: return Role::kList;
      case ROLE_SYSTEM_PUSHBUTTON: return Role::kButton;
      case ROLE_SYSTEM_RADIOBUTTON: return Role::kRadioButton;
      case ROLE_SYSTEM_STATICTEXT: return Role::kStaticText;
      case ROLE_SYSTEM_GROUPING: return Role::kGrouping;
      default: return Role::kOther;
    }
  }
  bool SpokenReadOnly(const char* name, int index) override {
    const auto object = Object(name, index);
    VARIANT state;
    VariantInit(&state);
    return object && SUCCEEDED(object->get_accState(Self(), &state)) && state.vt == VT_I4 &&
           (state.lVal & STATE_SYSTEM_READONLY) != 0;
  }

  void DarkDesktop(bool dark) override {
    static const int kElements[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNTEXT, COLOR_GRAYTEXT};
    static const COLORREF kDark[] = {RGB(0x20, 0x20, 0x20), RGB(0xF0, 0xF0, 0xF0), RGB(0xF0, 0xF0, 0xF0),
                                     RGB(0xA0, 0xA0, 0xA0)};
    if (dark) {
      for (std::size_t i = 0; i < std::size(kElements); ++i) desktop_[i] = GetSysColor(kElements[i]);
    }
    EXPECT_TRUE(SetSysColors(static_cast<int>(std::size(kElements)), kElements, dark ? kDark : desktop_));
    Pump();
  }
  void Corrupt(int cell, const std::string& text) override { SetWindowTextA(g_.W("Text2", cell), text.c_str()); }

 private:
  COLORREF desktop_[4] = {};
  // Runs the window's message loop over what has been posted, then hands back.
  void RunPosted() {
    PostQuitMessage(99);
    EXPECT_EQ(g_.window.Run(), 99);
  }
  static VARIANT Self() {
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
  }
  // The object of a control's client area, as a screen reader gets it.
  std::unique_ptr<IAccessible, Release> Object(const char* name, int index) {
    IAccessible* found = nullptr;
    const HRESULT got = AccessibleObjectFromWindow(g_.W(name, index), static_cast<DWORD>(OBJID_CLIENT),
                                                   __uuidof(IAccessible), reinterpret_cast<void**>(&found));
    return std::unique_ptr<IAccessible, Release>(SUCCEEDED(got) ? found : nullptr);
  }
};

}  // namespace

std::unique_ptr<conformance::Driver> conformance::MakeDriver(std::string separator) {
  return std::make_unique<Win32Driver>(std::move(separator));
}
