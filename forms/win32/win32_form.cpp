// The Win32 back end's window; see win32_form.h. Wide (W) functions only:
// every text is decoded from Windows-1251, whatever the system's ANSI code
// page.
#include "forms/win32/win32_form.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "forms/arrow_keys.h"
#include "forms/win32/accessible.h"
#include "forms/win32/api.h"
#include "forms/win32/control_proc.h"
#include "forms/win32/elements.h"

namespace forms::win32 {

namespace {

constexpr wchar_t kClassName[] = L"forms.win32.FormWindow";
// Control ids start above the ids IsDialogMessageW sends for Enter and
// Escape (IDOK, IDCANCEL, ...), so those never reach a handler.
constexpr int kFirstId = 1000;
COLORREF ToColorRef(Colour c) { return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }
// The form's own colours, never the desktop's, so that a dark colour scheme
// cannot put light text on the described pastels: black text, white text
// boxes and lists, and the classic face and greyed text elsewhere.
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr Colour kBoxWhite = 0xFFFFFF;
constexpr Colour kClassicFace = 0xC0C0C0;
constexpr COLORREF kGreyedText = RGB(0x80, 0x80, 0x80);
constexpr COLORREF kGreyedShadow = RGB(0xFF, 0xFF, 0xFF);

// The one pixel wide lines of a raised or sunken edge: the upper and left
// line in one colour, then the lower and right line over it in the other,
// the inner ring inside the outer one.
void DrawRing(HDC dc, const RECT& r, COLORREF upper_left, COLORREF lower_right) {
  const COLORREF old_back = GetBkColor(dc);
  const auto line = [dc](LONG left, LONG top, LONG right, LONG bottom, COLORREF colour) {
    const RECT part{left, top, right, bottom};
    SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &part, nullptr, 0, nullptr);
  };
  line(r.left, r.top, r.right - 1, r.top + 1, upper_left);
  line(r.left, r.top, r.left + 1, r.bottom - 1, upper_left);
  line(r.left, r.bottom - 1, r.right, r.bottom, lower_right);
  line(r.right - 1, r.top, r.right, r.bottom, lower_right);
  SetBkColor(dc, old_back);
}

// A round mark's part: a filled circle in `box`, or the half of it above
// and left of the diagonal from its lower left to its upper right corner, or
// the half below and right of it.
enum class Half { kWhole, kUpperLeft, kLowerRight };
void DrawDisc(HDC dc, const RECT& box, COLORREF colour, Half half = Half::kWhole) {
  const HGDIOBJ old_pen = SelectObject(dc, GetStockObject(DC_PEN));
  const HGDIOBJ old_brush = SelectObject(dc, GetStockObject(DC_BRUSH));
  SetDCPenColor(dc, colour);
  SetDCBrushColor(dc, colour);
  // Counter-clockwise from the first corner to the second.
  const POINT lower_left{box.left - 1, box.bottom};
  const POINT upper_right{box.right + 1, box.top};
  switch (half) {
    case Half::kWhole: Ellipse(dc, box.left, box.top, box.right, box.bottom); break;
    case Half::kUpperLeft:
      Pie(dc, box.left, box.top, box.right + 1, box.bottom + 1, upper_right.x, upper_right.y, lower_left.x,
          lower_left.y);
      break;
    case Half::kLowerRight:
      Pie(dc, box.left, box.top, box.right + 1, box.bottom + 1, lower_left.x, lower_left.y, upper_right.x,
          upper_right.y);
      break;
  }
  SelectObject(dc, old_brush);
  SelectObject(dc, old_pen);
}

RECT Centred(LONG x, LONG y, int diameter) {
  return {x - diameter + diameter / 2, y - diameter + diameter / 2, x + diameter / 2, y + diameter / 2};
}

using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

// Where a control goes in the client area, in pixels at a DPI: a frame's
// controls are the window's children too, at the frame's origin plus their
// offset in it.
Box PlaceOf(const Form& form, const Control& c, int dpi) {
  return BackEnd::WindowBox(form, static_cast<std::size_t>(&c - form.controls.data()), dpi);
}

// With its family and pitch: where the face is missing, the system's
// stand-in is then a serif face of like metrics, not a wider sans-serif one
// that cuts the captions.
Gdi<HFONT> MakeFont(const Form& form, int dpi) {
  return Gdi<HFONT>(CreateFontW(-MulDiv(form.font.points, dpi, 72), 0, 0, 0, form.font.weight, FALSE, FALSE, FALSE,
                                static_cast<DWORD>(form.font.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, VARIABLE_PITCH | FF_ROMAN, FromCp1251(form.font.name).c_str()));
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
  Element (*finish)(HWND w, RadioGroup* group);
};

// The multi-line panels: read-only, from their first line.
Element FinishPanel(HWND w, RadioGroup*) {
  // The caret, and so the first line shown, at the start.
  SendMessageW(w, EM_SETSEL, 0, 0);
  SendMessageW(w, EM_SCROLLCARET, 0, 0);
  return TextOver(w, nullptr);
}

// A frame has no element.
Element FinishFrame(HWND, RadioGroup*) { return {}; }

ControlMaking MakingOf(const Control& c) {
  switch (c.kind) {
    case ControlKind::kLabel: return {L"STATIC", SS_CENTER | SS_NOPREFIX, 0, false, &CaptionOver};
    case ControlKind::kFrame: break;
    case ControlKind::kOptionButton: return {L"BUTTON", BS_AUTORADIOBUTTON, 0, false, &OptionOver};
    case ControlKind::kButton: return {L"BUTTON", BS_OWNERDRAW, 0, false, &SwitchOver};
    case ControlKind::kTextBox:
      if (c.multi_line) {
        return {L"EDIT", ES_READONLY | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE, true,
                &FinishPanel};
      }
      return {L"EDIT", ES_READONLY | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, false, &TextOver};
    case ControlKind::kListBox:
      return {L"LISTBOX", WS_VSCROLL | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE, false, &ListOver};
  }
  // A frame: a group box.
  return {L"BUTTON", BS_GROUPBOX, 0, false, &FinishFrame};
}

// The work area of the monitor a window is on (the screen less the task bar).
RECT WorkArea(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
  return monitor.rcWork;
}

}  // namespace

struct FormWindow::Row {
  const Control* control = nullptr;
  HWND hwnd = nullptr;
  RadioGroup* group = nullptr;
  ArrowTargets arrows{-1, -1, -1, -1};  // rows, as the frame placed them
  Hooked hooked;
};

FormWindow::FormWindow(const Form& form) : BackEnd(form), apartment_(std::make_unique<Apartment>()) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = &FormWindow::WindowProc;
  // The dialog manager's own data, for DefDlgProcW.
  window_class.cbWndExtra = DLGWINDOWEXTRA;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  window_class.lpszClassName = kClassName;
  if (RegisterClassExW(&window_class) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    throw std::runtime_error("RegisterClassExW failed");
  }
  // Fixed size: no thick frame, no maximise box. No WS_CLIPCHILDREN either:
  // group boxes leave their inside for the window to paint.
  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  const HWND created =
      CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, FromCp1251(form.caption).c_str(), kStyle, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
  if (created == nullptr) throw std::runtime_error("CreateWindowExW failed");
  system_dpi_ = WindowDpi(hwnd_);
  dpi_ = FittingDpi();
  high_contrast_ = HighContrastOn();
  FitClientArea();
  CreateControls();
}

FormWindow::~FormWindow() = default;

FormWindow::WindowOwner::~WindowOwner() {
  self_.destroying_ = true;
  if (self_.hwnd_ != nullptr) DestroyWindow(self_.hwnd_);
}

// Each control is made where Layout() would put it, in its font, and a panel
// gets its text only after the font: every move, new font and new text makes
// a control measure (a panel, word-wrap) its text again, which for forty
// controls under Wine was a tenth of the start-up. The order of creation is
// the Z-order, and the Z-order is the tab order.
Element FormWindow::MakeControl(const Placement& p) {
  const Control* c = p.control;
  auto row = std::make_unique<Row>();
  row->control = c;
  DWORD style = WS_CHILD | (c->visible ? WS_VISIBLE : 0u);
  // The dialog manager's group of option buttons runs from its first member
  // to the next control with WS_GROUP: every other control starts one. The
  // members of the frame's group come one after another in tab order.
  const bool continues_group = p.group >= 0 && p.group == previous_group_;
  if (!continues_group) style |= WS_GROUP;
  if (TakesFocus(c->kind) && c->visible && c->kind != ControlKind::kOptionButton) style |= WS_TABSTOP;
  const ControlMaking making = MakingOf(*c);
  const int id = kFirstId + static_cast<int>(p.row);
  // As stored, with CR LF, as an edit control shows its lines.
  const std::wstring caption = FromCp1251(c->caption);
  const Box& place = p.in_window;
  row->hwnd = CreateWindowExW(making.ex_style, making.window_class, making.text_after_font ? L"" : caption.c_str(),
                              style | making.style, place.left, place.top, place.width, place.height, hwnd_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (row->hwnd == nullptr) throw std::runtime_error("CreateWindowExW failed for a control");
  const HWND w = row->hwnd;
  // Not drawn yet: the window is hidden.
  SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  if (making.text_after_font) SetWindowTextW(w, caption.c_str());
  if (c->kind == ControlKind::kOptionButton) {
    if (!continues_group || groups_.empty()) groups_.push_back(std::make_unique<RadioGroup>());
    row->group = groups_.back().get();
    row->arrows = p.arrows;
    row->group->members.push_back(w);
  }
  Element element = making.finish(w, row->group);
  row->hooked.kind = c->kind;
  row->hooked.panel = c->kind == ControlKind::kTextBox && c->multi_line;
  row->hooked.spoken = SpokenOf(*c, p.spoken);
  row->hooked.apartment = apartment_.get();
  rows_[p.row] = std::move(row);
  // Only now, when it lives as long as the control.
  HookControl(w, rows_[p.row]->hooked);
  previous_group_ = p.group;
  return element;
}

// A pool's object names it with its count; the words of a move become the
// description of the control that has the focus (the pressed button), and
// a screen reader listening is told both changed. The words leave the
// control that said them last.
void FormWindow::Changed(const Change& change) {
  const auto& controls = Description().controls;
  const auto wide = [](const std::u16string& text) { return std::wstring(text.begin(), text.end()); };
  for (const Change::Part& part : change.parts) {
    if (controls[part.row].kind != ControlKind::kListBox) continue;
    Row& row = *rows_[part.row];
    row.hooked.spoken.now->name = wide(part.said);
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, row.hwnd, OBJID_CLIENT, CHILDID_SELF);
  }
  if (change.words.empty()) return;
  const HWND focused = GetFocus();
  Row* told = nullptr;
  for (const auto& row : rows_) {
    if (row != nullptr && row->hwnd == focused) told = row.get();
  }
  if (told_ != nullptr && told_ != told) told_->hooked.spoken.now->words.clear();
  told_ = told;
  if (told == nullptr) return;
  told->hooked.spoken.now->words = wide(change.words);
  NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, told->hwnd, OBJID_CLIENT, CHILDID_SELF);
}

void FormWindow::CreateControls() {
  const Form& form = Description();
  font_ = MakeFont(form, dpi_);
  rows_.resize(form.controls.size());
  Build(dpi_);
  for (const auto& group : groups_) group->UpdateTabStop();
  for (const auto& row : rows_) {
    if (row->control->kind != ControlKind::kOptionButton) continue;
    for (std::size_t way = 0; way < row->arrows.size(); ++way) {
      const int to = row->arrows[way];
      row->hooked.arrow_targets[way] = to >= 0 ? rows_[static_cast<std::size_t>(to)]->hwnd : nullptr;
    }
  }
  FindCovers();
}

// Controls that overlap (the count cells: 405 twips tall on a 360-twip
// pitch) are drawn in one fixed order, the later in the tab order above the
// earlier, whichever repaints: each control knows the later ones that cover
// part of it, and has them drawn again after it drew itself. The Z order
// stays the tab order, which the dialog manager walks; a window region
// would do it with less, but Wine does not clip a child's painting by it.
void FormWindow::FindCovers() {
  const Form& form = Description();
  std::vector<RECT> places(rows_.size());
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const Box b = PlaceOf(form, *rows_[i]->control, dpi_);
    places[i] = {b.left, b.top, b.left + b.width, b.top + b.height};
  }
  const auto place = [&form, &places](const Row& row) {
    return places[static_cast<std::size_t>(row.control - form.controls.data())];
  };
  for (HWND w = GetWindow(hwnd_, GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
    Row* row = RowOf(w);
    if (row == nullptr) continue;
    row->hooked.covers.clear();
    if (row->control->kind == ControlKind::kFrame) continue;
    const RECT mine = place(*row);
    for (HWND later = GetWindow(w, GW_HWNDNEXT); later != nullptr; later = GetWindow(later, GW_HWNDNEXT)) {
      const Row* other = RowOf(later);
      if (other == nullptr || other->control->kind == ControlKind::kFrame || !other->control->visible) continue;
      const RECT theirs = place(*other);
      RECT common;
      if (IntersectRect(&common, &mine, &theirs)) row->hooked.covers.push_back(later);
    }
  }
}

void FormWindow::Layout() {
  const Form& form = Description();
  Gdi<HFONT> font = MakeFont(form, dpi_);
  for (const auto& row : rows_) {
    const Box place = PlaceOf(form, *row->control, dpi_);
    SetWindowPos(row->hwnd, nullptr, place.left, place.top, place.width, place.height, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(row->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  }
  // The old one only now, when no control uses it any more.
  font_ = std::move(font);
  FindCovers();
  FitClientArea();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

// The window's frame (caption, borders) around a client area, as the
// system draws it at the monitor's DPI.
RECT FormWindow::Outer(int width, int height) const {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
  const auto ex_style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
  RECT outer{0, 0, width, height};
  if (const auto adjust = FromUser32<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi")) {
    adjust(&outer, style, FALSE, ex_style, static_cast<UINT>(system_dpi_));
  } else {
    AdjustWindowRectEx(&outer, style, FALSE, ex_style);
  }
  return outer;
}

// The form is laid out at the monitor's DPI where the whole window fits its
// work area; where it would not (a large scale on a small screen), at the
// largest DPI at which it does, so that nothing is cut off or out of reach.
// The frame stays the system's, as it draws it now (not its estimate).
int FormWindow::FittingDpi() const {
  const Form& form = Description();
  const RECT work = WorkArea(hwnd_);
  RECT window;
  RECT client;
  GetWindowRect(hwnd_, &window);
  GetClientRect(hwnd_, &client);
  const long room_x = (work.right - work.left) - ((window.right - window.left) - client.right);
  const long room_y = (work.bottom - work.top) - ((window.bottom - window.top) - client.bottom);
  // Not below the classic 96 dpi halved: a form that small is no use.
  constexpr int kSmallest = 48;
  int dpi = system_dpi_;
  while (dpi > kSmallest &&
         (TwipsToPixels(form.client_width, dpi) > room_x || TwipsToPixels(form.client_height, dpi) > room_y)) {
    --dpi;
  }
  return dpi;
}

void FormWindow::FitClientArea() {
  const Form& form = Description();
  const int width = TwipsToPixels(form.client_width, dpi_);
  const int height = TwipsToPixels(form.client_height, dpi_);
  const RECT outer = Outer(width, height);
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

// A window laid out smaller to fit may still stand over the work area's edge
// where the system put it: moved in, whole.
void FormWindow::KeepOnWorkArea() {
  RECT window;
  GetWindowRect(hwnd_, &window);
  const RECT work = WorkArea(hwnd_);
  const long x = std::max(work.left, std::min(window.left, work.right - (window.right - window.left)));
  const long y = std::max(work.top, std::min(window.top, work.bottom - (window.bottom - window.top)));
  if (x != window.left || y != window.top) {
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void FormWindow::ShowCentred(int show_command) {
  RECT window;
  GetWindowRect(hwnd_, &window);
  const RECT work = WorkArea(hwnd_);
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
  if (self == nullptr) return DefDlgProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefDlgProcW(hwnd, message, wparam, lparam);
  }
  return self->OnMessage(message, wparam, lparam);
}

LRESULT FormWindow::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND: Command(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam)); return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return ControlColour(reinterpret_cast<HWND>(lparam), reinterpret_cast<HDC>(wparam), message);
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      const Row* row = item->CtlType == ODT_BUTTON ? RowOf(item->hwndItem) : nullptr;
      if (row == nullptr) break;
      switch (row->control->kind) {
        case ControlKind::kOptionButton: DrawOption(*item); return TRUE;
        case ControlKind::kFrame: DrawFrame(*item); return TRUE;
        default: DrawButton(*item); return TRUE;
      }
    }
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(hwnd_, &client);
      FillRect(reinterpret_cast<HDC>(wparam), &client,
               high_contrast_ ? GetSysColorBrush(COLOR_BTNFACE) : Brush(Description().back_colour));
      return 1;
    }
    case WM_CLOSE:
      // The dialog manager would make closing a press of a Cancel button.
      DestroyWindow(hwnd_);
      return 0;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE: FollowContrast(); break;
    case WM_DPICHANGED: {
      system_dpi_ = HIWORD(wparam);
      const auto* suggested = reinterpret_cast<const RECT*>(lparam);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      // On the monitor the suggested place is on.
      dpi_ = FittingDpi();
      Layout();
      KeepOnWorkArea();
      return 0;
    }
    case WM_DESTROY:
      // Closing the window ends the program; destroying it from the
      // destructor (tests) does not.
      if (!destroying_) PostQuitMessage(exit_code_);
      return 0;
    default: break;
  }
  // The window is of the dialog class's kind: the system's dialog manager
  // keeps the focused control across deactivation and moves the focus for
  // WM_NEXTDLGCTL, as for any dialog.
  return DefDlgProcW(hwnd_, message, wparam, lparam);
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
    default: break;
  }
}

LRESULT FormWindow::ControlColour(HWND control, HDC dc, UINT message) {
  const Row* row = RowOf(control);
  if (row == nullptr) return DefWindowProcW(hwnd_, message, reinterpret_cast<WPARAM>(dc), AsLParam(control));
  const ControlKind kind = row->control->kind;
  const bool box = kind == ControlKind::kTextBox || kind == ControlKind::kListBox;
  if (high_contrast_) {
    // The system's: the window colours in the boxes, the face elsewhere.
    SetTextColor(dc, GetSysColor(box ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
    SetBkColor(dc, GetSysColor(box ? COLOR_WINDOW : COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(box ? COLOR_WINDOW : COLOR_BTNFACE));
  }
  Colour colour = row->control->back_colour;
  if (colour == kDefaultColour) {
    // Read-only edits ask with WM_CTLCOLORSTATIC and would be grey; the
    // text boxes keep the white of an ordinary text box, as the lists do.
    colour = box ? kBoxWhite : kClassicFace;
  }
  SetTextColor(dc, kText);
  SetBkColor(dc, ToColorRef(colour));
  return reinterpret_cast<LRESULT>(Brush(colour));
}

void FormWindow::DrawButton(const DRAWITEMSTRUCT& item) {
  const Row& row = *RowOf(item.hwndItem);
  const HDC dc = item.hDC;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  RECT area = item.rcItem;
  FillRect(dc, &area, high_contrast_ ? GetSysColorBrush(COLOR_BTNFACE) : Brush(row.control->back_colour));
  const Shades shades = ShadesNow();
  if (pressed) {
    DrawRing(dc, area, shades.shadow, shades.highlight);
    InflateRect(&area, -1, -1);
    DrawRing(dc, area, shades.dark, shades.light);
  } else {
    DrawRing(dc, area, shades.light, shades.dark);
    InflateRect(&area, -1, -1);
    DrawRing(dc, area, shades.highlight, shades.shadow);
  }
  InflateRect(&area, -1, -1);

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
  DrawCaption(dc, caption, area, kFormat, disabled);
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

// A button's or an option button's caption, its background left as it is:
// in the form's black, or greyed as the system greys a disabled caption
// (grey with a light shadow); under high contrast in the system's colours.
void FormWindow::DrawCaption(HDC dc, const std::wstring& caption, RECT area, UINT format, bool disabled) const {
  if (high_contrast_) {
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  } else if (disabled) {
    RECT shadow = area;
    OffsetRect(&shadow, 1, 1);
    SetTextColor(dc, kGreyedShadow);
    DrawTextW(dc, caption.c_str(), -1, &shadow, format);
    SetTextColor(dc, kGreyedText);
  } else {
    SetTextColor(dc, kText);
  }
  DrawTextW(dc, caption.c_str(), -1, &area, format);
}

FormWindow::Shades FormWindow::ShadesNow() const {
  if (high_contrast_) {
    return {GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_BTNSHADOW),
            GetSysColor(COLOR_3DDKSHADOW),   GetSysColor(COLOR_WINDOW),  GetSysColor(COLOR_WINDOWTEXT)};
  }
  return {RGB(0xFF, 0xFF, 0xFF), RGB(0xE3, 0xE3, 0xE3), RGB(0xA6, 0xA6, 0xA6),
          RGB(0x6A, 0x6A, 0x6A), RGB(0xFF, 0xFF, 0xFF), kText};
}

// An option button: its round mark at the left, sunken, with a dot when
// checked, and its caption after it on one line, centred top to bottom.
// Under high contrast the mark is a ring in the window text's colour round
// the window's colour, and the dot is larger, so that the checked one stands
// out in any scheme, in grey too.
void FormWindow::DrawOption(const DRAWITEMSTRUCT& item) {
  const Row& row = *RowOf(item.hwndItem);
  const HDC dc = item.hDC;
  const RECT& area = item.rcItem;
  const Shades shades = ShadesNow();
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &area, high_contrast_ ? GetSysColorBrush(COLOR_BTNFACE) : Brush(row.control->back_colour));

  // The mark beside the caption's line, centred on it but a pixel higher
  // where the two differ in height, as the system places it.
  const int size = 12 * dpi_ / 96 + 1;
  const HGDIOBJ old_font = SelectObject(dc, font_.get());
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const int line_top = static_cast<int>(area.top) + (static_cast<int>(area.bottom - area.top) - metrics.tmHeight) / 2;
  const int gap = metrics.tmHeight - size;
  int top = line_top;
  if (gap > 0) top = line_top + metrics.tmHeight - (gap / 2 + 1) - size;
  if (gap < 0) top = line_top - (-gap / 2 + 1);
  const RECT box{area.left, top, area.left + size, top + size};
  const LONG x = box.left + size - size / 2;
  const LONG y = box.top + size - size / 2;
  const int ring = std::max(1, size / 16);
  RECT disc = Centred(x, y, 14 * size / 16);
  if (high_contrast_) {
    DrawDisc(dc, disc, shades.dot);
    InflateRect(&disc, -2 * ring, -2 * ring);
  } else {
    DrawDisc(dc, disc, shades.highlight, Half::kLowerRight);
    DrawDisc(dc, disc, shades.shadow, Half::kUpperLeft);
    InflateRect(&disc, -ring, -ring);
    DrawDisc(dc, disc, shades.light, Half::kLowerRight);
    DrawDisc(dc, disc, shades.dark, Half::kUpperLeft);
    disc = Centred(x, y, 10 * size / 16);
  }
  DrawDisc(dc, disc, pressed || disabled ? (high_contrast_ ? GetSysColor(COLOR_BTNFACE) : shades.light) : shades.well);
  if ((item.itemState & ODS_CHECKED) != 0) {
    const COLORREF dot = disabled ? (high_contrast_ ? GetSysColor(COLOR_GRAYTEXT) : kGreyedText) : shades.dot;
    DrawDisc(dc, Centred(x, y, std::max(1, (high_contrast_ ? 8 : 6) * size / 16)), dot);
  }

  const std::wstring caption = WindowText(item.hwndItem);
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  int zero_width = 0;
  GetCharWidth32W(dc, L'0', L'0', &zero_width);
  RECT text = area;
  text.left += size + zero_width / 2 + 1;
  constexpr UINT kFormat = DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  DrawCaption(dc, caption, text, kFormat, disabled);
  SetBkMode(dc, old_mode);
  SelectObject(dc, old_font);
  if ((item.itemState & ODS_FOCUS) != 0) DrawFocusMark(dc, area, 2 * MarkUnit(item.hwndItem), MarkUnit(item.hwndItem));
}

// A frame: an etched line round it, broken at the top by its caption. Its
// inside is the window's, which paints its own background there.
void FormWindow::DrawFrame(const DRAWITEMSTRUCT& item) {
  const Row& row = *RowOf(item.hwndItem);
  const HDC dc = item.hDC;
  const Shades shades = ShadesNow();
  const HGDIOBJ old_font = SelectObject(dc, font_.get());
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  RECT edge = item.rcItem;
  edge.top += metrics.tmHeight / 2 - 1;
  DrawRing(dc, edge, shades.shadow, shades.highlight);
  InflateRect(&edge, -1, -1);
  DrawRing(dc, edge, shades.highlight, shades.shadow);

  const std::wstring caption = WindowText(item.hwndItem);
  RECT text{item.rcItem.left + 8, item.rcItem.top, item.rcItem.right - 7, item.rcItem.bottom};
  DrawTextW(dc, caption.c_str(), -1, &text, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  // With a pixel of the background round the caption but at its top.
  const RECT around{text.left - 1, text.top, text.right + 1, text.bottom + 1};
  FillRect(dc, &around, high_contrast_ ? GetSysColorBrush(COLOR_BTNFACE) : Brush(row.control->back_colour));
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, high_contrast_ ? GetSysColor(COLOR_BTNTEXT) : kText);
  DrawTextW(dc, caption.c_str(), -1, &text, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
  SetBkMode(dc, old_mode);
  SelectObject(dc, old_font);
}

void FormWindow::FollowContrast() {
  const bool asked = HighContrastOn();
  if (asked == high_contrast_) return;
  high_contrast_ = asked;
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
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
  const int row = RowNumber(name, index);
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

std::string FormWindow::DecimalSeparator() const {
  // Asked at every summary: the system answers from the user's settings as
  // they are now, a change made while the program runs included. By locale
  // id, not name (GetLocaleInfoEx): Windows XP has no names. Up to three
  // characters and the null.
  wchar_t separator[4] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 4) <= 1) return ".";
  char utf8[16] = {};
  const int length = WideCharToMultiByte(CP_UTF8, 0, separator, -1, utf8, sizeof utf8, nullptr, nullptr);
  return length > 1 ? std::string(utf8, static_cast<std::size_t>(length - 1)) : std::string(".");
}

}  // namespace forms::win32
