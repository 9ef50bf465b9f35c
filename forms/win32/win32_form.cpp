// The Win32 back end's window; see win32_form.h. Wide (W) functions only:
// every text is decoded from Windows-1251, whatever the system's ANSI code
// page.
#include "forms/win32/win32_form.h"


#include <algorithm>
#include <stdexcept>
#include <string>

#include "forms/win32/accessible.h"
#include "forms/win32/api.h"
#include "forms/win32/elements.h"

namespace forms::win32 {

namespace {

constexpr wchar_t kClassName[] = L"forms.win32.FormWindow";
// Control ids start above the ids IsDialogMessageW sends for Enter and
// Escape (IDOK, IDCANCEL, ...), so those never reach a handler.
constexpr int kFirstId = 1000;
COLORREF ToColorRef(Colour c) { return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

// Functions of newer systems, looked up so that the program still starts
// where they are missing.
template <class Function>
Function FromUser32(const char* name) {
  return FromModule<Function>(GetModuleHandleW(L"user32.dll"), name);
}
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

int WindowDpi(HWND hwnd) {
  if (const auto get_dpi = FromUser32<GetDpiForWindowFunction>("GetDpiForWindow")) {
    const UINT dpi = get_dpi(hwnd);
    if (dpi != 0) return static_cast<int>(dpi);
  }
  const HDC dc = GetDC(hwnd);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(hwnd, dc);
  return dpi > 0 ? dpi : 96;
}

bool SameContainer(const Control& a, const Control& b) {
  if (a.container == nullptr || b.container == nullptr) return a.container == b.container;
  return std::string_view(a.container) == b.container;
}

// Where a control goes in the client area, in pixels at a DPI. A frame's
// controls are the window's children too, placed at the frame's origin plus
// their offset in it.
struct Place {
  int x, y, width, height;
};

Place PlaceOf(const Form& form, const Control& c, int dpi) {
  int x = TwipsToPixels(c.left, dpi);
  int y = TwipsToPixels(c.top, dpi);
  for (const char* container = c.container; container != nullptr;) {
    const int frame = FindControl(form, container, -1);
    if (frame < 0) break;
    const Control& f = form.controls[static_cast<std::size_t>(frame)];
    x += TwipsToPixels(f.left, dpi);
    y += TwipsToPixels(f.top, dpi);
    container = f.container;
  }
  return {x, y, TwipsToPixels(c.width, dpi), TwipsToPixels(c.height, dpi)};
}

Gdi<HFONT> MakeFont(const Form& form, int dpi) {
  return Gdi<HFONT>(CreateFontW(-MulDiv(form.font.points, dpi, 72), 0, 0, 0, form.font.weight, FALSE, FALSE, FALSE,
                     static_cast<DWORD>(form.font.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, FromCp1251(form.font.name).c_str()));
}

// The focus mark: a black ring, `black` pixels wide, just inside `r`, and a
// white one, `white` wide, inside that: one of the two stands out on any back
// colour, light or dark.
void DrawFocusMark(HDC dc, RECT r, int black, int white) {
  for (const auto& [width, colour] : {std::pair{black, RGB(0, 0, 0)}, std::pair{white, RGB(0xFF, 0xFF, 0xFF)}}) {
    if (width <= 0) continue;
    const Gdi<HBRUSH> brush(CreateSolidBrush(colour));
    const RECT edges[] = {{r.left, r.top, r.right, r.top + width},
                          {r.left, r.bottom - width, r.right, r.bottom},
                          {r.left, r.top, r.left + width, r.bottom},
                          {r.right - width, r.top, r.right, r.bottom}};
    for (const RECT& edge : edges) FillRect(dc, &edge, brush.get());
    InflateRect(&r, -width, -width);
  }
}

// One pixel of a focus mark's line at 96 DPI, more at a higher DPI.
int MarkUnit(HWND hwnd) { return std::max(1, WindowDpi(hwnd) / 96); }

// The focus mark of the controls the system draws: over an option button's
// box once it has drawn it (it draws on its own at a change of state, not
// only when painting), and in place of the sunken edge of a text box or a
// list box, which scrolls its inside but never its edge. `focused` is the
// control's own record of the focus: asking the system (GetFocus) on every
// paint of every control is a trip to the Wine server each time.
void MarkFocus(HWND hwnd, ControlKind kind, UINT message, bool focused) {
  switch (kind) {
    case ControlKind::kOptionButton:
      if (message == WM_KILLFOCUS) {
        InvalidateRect(hwnd, nullptr, TRUE);
      } else if ((message == WM_PAINT || message == WM_SETFOCUS || message == BM_SETCHECK || message == BM_SETSTATE ||
                  message == WM_ENABLE || message == WM_SETTEXT || message == WM_UPDATEUISTATE) &&
                 focused) {
        RECT box;
        GetClientRect(hwnd, &box);
        const HDC dc = GetDC(hwnd);
        DrawFocusMark(dc, box, 2 * MarkUnit(hwnd), MarkUnit(hwnd));
        ReleaseDC(hwnd, dc);
      }
      break;
    case ControlKind::kTextBox:
    case ControlKind::kListBox:
      if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
        RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      } else if (message == WM_NCPAINT && focused) {
        RECT outer;
        GetWindowRect(hwnd, &outer);
        POINT client{0, 0};
        ClientToScreen(hwnd, &client);
        const int edge = std::max(static_cast<int>(client.x - outer.left), 1);
        OffsetRect(&outer, -outer.left, -outer.top);
        const HDC dc = GetWindowDC(hwnd);
        DrawFocusMark(dc, outer, edge, 0);
        ReleaseDC(hwnd, dc);
      }
      break;
    default:
      break;
  }
}

// What ControlProc knows of a control, kept in the control's user data.
struct Hooked {
  ControlKind kind = ControlKind::kLabel;
  bool panel = false;  // a multi-line text box
  Spoken spoken;
  Apartment* apartment = nullptr;  // the window's
  WNDPROC control_proc = nullptr;  // the control's own procedure
  bool focused = false;  // between its WM_SETFOCUS and its WM_KILLFOCUS
};

// Every message of every control goes through this, so it is a plain window
// procedure with its data in the control's user data: SetWindowSubclass
// looks its own up in a window property on every message, which under Wine
// is a trip to the Wine server and made the game's tests five times slower.
// It hands out the accessible objects, makes Enter press a button as Space
// does, and draws the focus mark of the controls the system draws.
LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* hooked = reinterpret_cast<Hooked*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_SETFOCUS || message == WM_KILLFOCUS) hooked->focused = message == WM_SETFOCUS;
  if (message == WM_GETOBJECT) {
    const LRESULT object = AccessibleObject(hwnd, wparam, lparam, hooked->spoken, *hooked->apartment);
    if (object != 0) return object;
  }
  if (hooked->kind == ControlKind::kButton) {
    // The dialog manager keeps Enter for a default button, which this
    // window, not being a dialog, has none of: the focused button asks for
    // it, and clicks once per press (a held key's repeats are no presses).
    if (message == WM_GETDLGCODE) {
      const auto* asked = reinterpret_cast<const MSG*>(lparam);
      const LRESULT code = CallWindowProcW(hooked->control_proc, hwnd, message, wparam, lparam);
      const bool enter = asked != nullptr && asked->message == WM_KEYDOWN && asked->wParam == VK_RETURN;
      return enter ? (code | DLGC_WANTMESSAGE) : code;
    }
    if (message == WM_KEYDOWN && wparam == VK_RETURN) {
      if ((lparam & (LPARAM{1} << 30)) == 0 && IsWindowEnabled(hwnd)) {
        SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED),
                     reinterpret_cast<LPARAM>(hwnd));
      }
      return 0;
    }
  }
  const LRESULT result = CallWindowProcW(hooked->control_proc, hwnd, message, wparam, lparam);
  // The multi-line panels are read-only: Tab, Enter and Escape go to the
  // window, as from any other control, instead of being kept by the edit
  // control; and reaching a panel with Tab selects nothing, so that it shows
  // its first lines rather than scrolling to the end of a selection.
  if (hooked->panel && message == WM_GETDLGCODE) {
    return result & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_HASSETSEL);
  }
  MarkFocus(hwnd, hooked->kind, message, hooked->focused);
  return result;
}

void HookControl(HWND w, Hooked& hooked) {
  SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&hooked));
  hooked.control_proc =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlProc)));
}

// How a control of each kind is made: its window class and styles, and once
// it exists in its font, the element the board gets over it (an option
// button's, in its group) and what more it needs.
struct ControlMaking {
  const wchar_t* window_class;
  DWORD style;
  DWORD ex_style;
  // Made empty and given its text after the font; see CreateControls.
  bool text_after_font;
  void (*finish)(HWND w, RadioGroup* group, ControlTable::Elements& row);
};

// The multi-line panels: read-only, from their first line.
void FinishPanel(HWND w, RadioGroup*, ControlTable::Elements& row) {
  // The caret, and so the first line shown, at the start.
  SendMessageW(w, EM_SETSEL, 0, 0);
  SendMessageW(w, EM_SCROLLCARET, 0, 0);
  AddText(w, nullptr, row);
}

// A frame has no element.
void FinishFrame(HWND, RadioGroup*, ControlTable::Elements&) {}

ControlMaking MakingOf(const Control& c) {
  switch (c.kind) {
    case ControlKind::kLabel: return {L"STATIC", SS_CENTER | SS_NOPREFIX, 0, false, &AddCaption};
    case ControlKind::kFrame: break;
    case ControlKind::kOptionButton: return {L"BUTTON", BS_AUTORADIOBUTTON, 0, false, &AddOption};
    case ControlKind::kButton: return {L"BUTTON", BS_OWNERDRAW, 0, false, &AddSwitch};
    case ControlKind::kTextBox:
      if (c.multi_line) {
        return {L"EDIT", ES_READONLY | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE, true,
                &FinishPanel};
      }
      return {L"EDIT", ES_READONLY | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, false, &AddText};
    case ControlKind::kListBox:
      return {L"LISTBOX", WS_VSCROLL | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE, false, &AddList};
  }
  // A frame: a group box.
  return {L"BUTTON", BS_GROUPBOX, 0, false, &FinishFrame};
}

}  // namespace

struct FormWindow::Row {
  const Control* control = nullptr;
  HWND hwnd = nullptr;
  RadioGroup* group = nullptr;
  Hooked hooked;
};

FormWindow::FormWindow(const Form& form) : BackEnd(form), apartment_(std::make_unique<Apartment>()) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = &FormWindow::WindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  window_class.lpszClassName = kClassName;
  if (RegisterClassExW(&window_class) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    throw std::runtime_error("RegisterClassExW failed");
  }
  // Fixed size: no thick frame, no maximise box. No WS_CLIPCHILDREN either:
  // group boxes leave their inside for the window to paint.
  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  const HWND created = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, FromCp1251(form.caption).c_str(),
                                       kStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                       nullptr, nullptr, instance, this);
  if (created == nullptr) throw std::runtime_error("CreateWindowExW failed");
  dpi_ = WindowDpi(hwnd_);
  FitClientArea();
  CreateControls();
}

FormWindow::~FormWindow() = default;

FormWindow::WindowOwner::~WindowOwner() {
  self_.destroying_ = true;
  if (self_.hwnd_ != nullptr) DestroyWindow(self_.hwnd_);
}

void FormWindow::CreateControls() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const Form& form = Description();
  // Creation order is the Z-order, and the Z-order is the tab order.
  std::vector<const Control*> order;
  for (const Control& c : form.controls) order.push_back(&c);
  std::stable_sort(order.begin(), order.end(),
                   [](const Control* a, const Control* b) { return a->tab_index < b->tab_index; });

  // Each control is made where Layout() would put it, in its font, and a
  // panel gets its text only after the font: every move, new font and new
  // text makes a control measure (a panel, word-wrap) its text again, which
  // for forty controls under Wine was a tenth of the start-up.
  font_ = MakeFont(form, dpi_);
  rows_.resize(form.controls.size());
  const Control* previous = nullptr;
  for (const Control* c : order) {
    const auto row_number = static_cast<std::size_t>(c - form.controls.data());
    auto row = std::make_unique<Row>();
    row->control = c;
    DWORD style = WS_CHILD | (c->visible ? WS_VISIBLE : 0u);
    // A group of option buttons runs from its first member to the next
    // control with WS_GROUP: every other control starts a group.
    const bool continues_group = c->kind == ControlKind::kOptionButton && previous != nullptr &&
                                 previous->kind == ControlKind::kOptionButton &&
                                 SameContainer(*previous, *c);
    if (!continues_group) style |= WS_GROUP;
    if (TakesFocus(c->kind) && c->visible && c->kind != ControlKind::kOptionButton) style |= WS_TABSTOP;
    const ControlMaking making = MakingOf(*c);
    const int id = kFirstId + static_cast<int>(row_number);
    const std::wstring caption = FromCp1251(c->caption);
    const Place place = PlaceOf(form, *c, dpi_);
    row->hwnd = CreateWindowExW(making.ex_style, making.window_class, making.text_after_font ? L"" : caption.c_str(),
                                style | making.style, place.x, place.y, place.width, place.height, hwnd_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (row->hwnd == nullptr) throw std::runtime_error("CreateWindowExW failed for a control");
    const HWND w = row->hwnd;
    // Not drawn yet: the window is hidden.
    SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    if (making.text_after_font) SetWindowTextW(w, caption.c_str());
    if (c->kind == ControlKind::kOptionButton) {
      if (!continues_group || groups_.empty()) groups_.push_back(std::make_unique<RadioGroup>());
      row->group = groups_.back().get();
      row->group->members.push_back(w);
    }
    making.finish(w, row->group, ElementsOf(row_number));
    row->hooked.kind = c->kind;
    row->hooked.panel = c->kind == ControlKind::kTextBox && c->multi_line;
    row->hooked.spoken = SpokenOf(form, *c);
    row->hooked.apartment = apartment_.get();
    rows_[row_number] = std::move(row);
    // Only now, when it lives as long as the control.
    HookControl(w, rows_[row_number]->hooked);
    previous = c;
  }
  for (const auto& group : groups_) group->UpdateTabStop();
}

void FormWindow::Layout() {
  const Form& form = Description();
  Gdi<HFONT> font = MakeFont(form, dpi_);
  for (const auto& row : rows_) {
    const Place place = PlaceOf(form, *row->control, dpi_);
    SetWindowPos(row->hwnd, nullptr, place.x, place.y, place.width, place.height, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(row->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  }
  // The old one only now, when no control uses it any more.
  font_ = std::move(font);
  FitClientArea();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void FormWindow::FitClientArea() {
  const Form& form = Description();
  const int width = TwipsToPixels(form.client_width, dpi_);
  const int height = TwipsToPixels(form.client_height, dpi_);
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
  const auto ex_style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
  RECT outer{0, 0, width, height};
  if (const auto adjust = FromUser32<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi")) {
    adjust(&outer, style, FALSE, ex_style, static_cast<UINT>(dpi_));
  } else {
    AdjustWindowRectEx(&outer, style, FALSE, ex_style);
  }
  SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The frame the system really draws may differ from its estimate (a
  // caption font of its own, say): correct by what the client area got.
  RECT client;
  RECT window;
  GetClientRect(hwnd_, &client);
  GetWindowRect(hwnd_, &window);
  const int dw = width - client.right;
  const int dh = height - client.bottom;
  if (dw != 0 || dh != 0) {
    SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left + dw, window.bottom - window.top + dh,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void FormWindow::ShowCentred(int show_command) {
  RECT window;
  GetWindowRect(hwnd_, &window);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  const int x = work.left + std::max(0L, (work.right - work.left - width) / 2);
  const int y = work.top + std::max(0L, (work.bottom - work.top - height) / 2);
  SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(hwnd_, show_command);
  UpdateWindow(hwnd_);
}

int FormWindow::Run() {
  MSG message;
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return 1;
    // The dialog manager gives Tab, Shift+Tab, the arrow keys within the
    // option group, and Space on buttons their usual meaning.
    if (hwnd_ != nullptr && IsDialogMessageW(hwnd_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

LRESULT CALLBACK FormWindow::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  FormWindow* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  } else {
    self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (self == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
  return self->OnMessage(message, wparam, lparam);
}

LRESULT FormWindow::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      Command(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return ControlColour(reinterpret_cast<HWND>(lparam), reinterpret_cast<HDC>(wparam), message);
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (item->CtlType == ODT_BUTTON && RowOf(item->hwndItem) != nullptr) {
        DrawButton(*item);
        return TRUE;
      }
      break;
    }
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(hwnd_, &client);
      FillRect(reinterpret_cast<HDC>(wparam), &client, Brush(Description().back_colour));
      return 1;
    }
    case WM_ACTIVATE:
      // Not a dialog: keep the focused control across deactivation by hand.
      if (LOWORD(wparam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd_, focus)) focus_ = focus;
      } else if (HIWORD(wparam) == 0) {
        HWND target = focus_;
        if (target == nullptr || !IsWindow(target) || !IsWindowVisible(target) || !IsWindowEnabled(target)) {
          target = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
        }
        if (target != nullptr) SetFocus(target);
      }
      return 0;
    case WM_NEXTDLGCTL: {
      // IsDialogMessageW asks for this when an arrow key leaves a group
      // for a control that is not an option button; DefWindowProcW would
      // ignore it in a window that is not a dialog.
      HWND next = reinterpret_cast<HWND>(wparam);
      if (LOWORD(lparam) == 0) next = GetNextDlgTabItem(hwnd_, GetFocus(), wparam != 0 ? TRUE : FALSE);
      if (next != nullptr && IsChild(hwnd_, next)) SetFocus(next);
      return 0;
    }
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wparam);
      const auto* suggested = reinterpret_cast<const RECT*>(lparam);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      Layout();
      return 0;
    }
    case WM_DESTROY:
      // Closing the window ends the program; destroying it from the
      // destructor (tests) does not.
      if (!destroying_) PostQuitMessage(exit_code_);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

void FormWindow::Command(int id, int code, HWND control) {
  const int row_number = id - kFirstId;
  if (row_number < 0 || row_number >= static_cast<int>(rows_.size())) return;
  // Controls notify while they are still being made (an edit scrolling to
  // its caret), before their row is filled in.
  const Row* found = rows_[static_cast<std::size_t>(row_number)].get();
  if (found == nullptr || found->hwnd != control) return;
  const Row& row = *found;
  switch (code) {
    case BN_CLICKED:
    // An owner-drawn button reports the second press of a double click so;
    // it is a press like any other.
    case BN_DOUBLECLICKED:
      if (row.control->kind != ControlKind::kButton && row.control->kind != ControlKind::kOptionButton) break;
      // BM_CLICK reaches a disabled button too; a disabled button raises
      // no click.
      if (!IsWindowEnabled(control)) break;
      if (row.group != nullptr) {
        row.group->UpdateTabStop();
        // Selecting the selected option again raises nothing.
        if (row.group->selected == control) break;
        row.group->selected = control;
      }
      RaiseClick(*row.control);
      break;
    default:
      break;
  }
}

LRESULT FormWindow::ControlColour(HWND control, HDC dc, UINT message) {
  const Row* row = RowOf(control);
  if (row == nullptr) return DefWindowProcW(hwnd_, message, reinterpret_cast<WPARAM>(dc), AsLParam(control));
  const Colour colour = row->control->back_colour;
  if (colour == kDefaultColour) {
    // Read-only edits ask with WM_CTLCOLORSTATIC and would be grey; the
    // text boxes keep the white of an ordinary text box.
    if (row->control->kind == ControlKind::kTextBox) {
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(dc, GetSysColor(COLOR_WINDOW));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    return DefWindowProcW(hwnd_, message, reinterpret_cast<WPARAM>(dc), AsLParam(control));
  }
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, ToColorRef(colour));
  return reinterpret_cast<LRESULT>(Brush(colour));
}

void FormWindow::DrawButton(const DRAWITEMSTRUCT& item) {
  const Row& row = *RowOf(item.hwndItem);
  const HDC dc = item.hDC;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  RECT area = item.rcItem;
  FillRect(dc, &area, Brush(row.control->back_colour));
  DrawEdge(dc, &area, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);

  const std::wstring caption = WindowText(item.hwndItem);
  const HGDIOBJ old_font = SelectObject(dc, font_.get());
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  InflateRect(&area, -2, -1);
  if (pressed) OffsetRect(&area, 1, 1);
  // Word-wrapped and centred both ways: DrawText centres multi-line text
  // only across, so measure it and place it.
  constexpr UINT kFormat = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
  RECT measured = area;
  DrawTextW(dc, caption.c_str(), -1, &measured, kFormat | DT_CALCRECT);
  const int text_height = measured.bottom - measured.top;
  if (text_height < area.bottom - area.top) {
    area.top += (area.bottom - area.top - text_height) / 2;
    area.bottom = area.top + text_height;
  }
  if (disabled) {
    // Greyed as the system greys a disabled caption: grey with a light
    // shadow.
    RECT shadow = area;
    OffsetRect(&shadow, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextW(dc, caption.c_str(), -1, &shadow, kFormat);
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  } else {
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  }
  DrawTextW(dc, caption.c_str(), -1, &area, kFormat);
  SetBkMode(dc, old_mode);
  SelectObject(dc, old_font);

  // Whether or not the keyboard was used yet, the focus is always shown: over
  // the bevel, and with a white line as wide as the black, as a button may
  // be dark.
  if ((item.itemState & ODS_FOCUS) != 0) {
    RECT focus = item.rcItem;
    InflateRect(&focus, -1, -1);
    DrawFocusMark(dc, focus, 2 * MarkUnit(item.hwndItem), 2 * MarkUnit(item.hwndItem));
  }
}

HBRUSH FormWindow::Brush(Colour colour) { return brushes_.Of(ToColorRef(colour)); }

Brushes::~Brushes() {
  for (const auto& [colour, brush] : brushes_) DeleteObject(brush);
}

HBRUSH Brushes::Of(COLORREF colour) {
  const auto found = brushes_.find(colour);
  if (found != brushes_.end()) return found->second;
  const HBRUSH brush = CreateSolidBrush(colour);
  brushes_.emplace(colour, brush);
  return brush;
}

FormWindow::Row* FormWindow::RowOf(HWND control) const {
  if (control == nullptr) return nullptr;
  const int row_number = GetDlgCtrlID(control) - kFirstId;
  if (row_number < 0 || row_number >= static_cast<int>(rows_.size())) return nullptr;
  Row* row = rows_[static_cast<std::size_t>(row_number)].get();
  return row != nullptr && row->hwnd == control ? row : nullptr;
}

HWND FormWindow::Widget(std::string_view name, int index) const {
  const int row = FindControl(Description(), name, index);
  if (row < 0 || !rows_[static_cast<std::size_t>(row)]) return nullptr;
  return rows_[static_cast<std::size_t>(row)]->hwnd;
}

void FormWindow::ShowErrorBox(const ErrorReport& report) {
  const std::wstring title = Wide(report.title);
  const std::wstring text = Wide(report.message);
  const HWND owner = hwnd_ != nullptr && IsWindowVisible(hwnd_) ? hwnd_ : nullptr;
  MessageBoxW(owner, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}

void FormWindow::EndProgram() {
  if (hwnd_ != nullptr) ShowWindow(hwnd_, SW_HIDE);
  exit_code_ = 1;
  PostQuitMessage(1);
}

char DecimalSeparator() {
  wchar_t separator[8] = {};
  const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
  // The length counts the terminating null.
  if (length == 2 && separator[0] > 0 && separator[0] < 0x80) return static_cast<char>(separator[0]);
  return '.';
}

}  // namespace forms::win32
