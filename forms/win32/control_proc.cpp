// The window procedure put before each control's own; see control_proc.h.
#include "forms/win32/control_proc.h"

#include <algorithm>
#include <utility>

#include "forms/arrow_keys.h"
#include "forms/win32/api.h"

namespace forms::win32 {

// One of the focus mark's two rings stands out on any back colour, light or
// dark.
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

int MarkUnit(HWND hwnd) { return std::max(1, WindowDpi(hwnd) / 96); }

namespace {

// The focus mark of the controls the system draws: in place of the sunken
// edge of a text box or a list box, which scrolls its inside but never its
// edge. `focused` is the control's own record of the focus: asking the
// system (GetFocus) on every paint of every control is a trip to the Wine
// server each time.
void MarkFocus(HWND hwnd, ControlKind kind, UINT message, bool focused) {
  switch (kind) {
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
    default: break;
  }
}

// Option buttons and frames keep the system's behaviour (an option button's
// group, its check, its keys) but are drawn by the window, as owner-drawn
// buttons are, so in the form's colours: the system would draw their marks
// and edges in its own, which a dark or high-contrast scheme makes black.
bool DrawnByWindow(ControlKind kind) { return kind == ControlKind::kOptionButton || kind == ControlKind::kFrame; }

void AskWindowToDraw(HWND hwnd, HDC dc, const Hooked& hooked) {
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_BUTTON;
  item.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
  item.itemAction = ODA_DRAWENTIRE;
  if (hooked.kind == ControlKind::kOptionButton) {
    const LRESULT state = CallWindowProcW(hooked.control_proc, hwnd, BM_GETSTATE, 0, 0);
    if ((state & BST_CHECKED) != 0) item.itemState |= ODS_CHECKED;
    if ((state & BST_PUSHED) != 0) item.itemState |= ODS_SELECTED;
  }
  if (hooked.focused) item.itemState |= ODS_FOCUS;
  if (!IsWindowEnabled(hwnd)) item.itemState |= ODS_DISABLED;
  item.hwndItem = hwnd;
  item.hDC = dc;
  GetClientRect(hwnd, &item.rcItem);
  SendMessageW(GetParent(hwnd), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

// The messages after which the system's button draws itself at once, not
// only when asked to paint: the window draws it again over that.
bool DrawsAtOnce(UINT message) {
  switch (message) {
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case BM_SETCHECK:
    case BM_SETSTATE:
    case WM_UPDATEUISTATE: return true;
    default: return false;
  }
}

int ArrowIndex(WPARAM key) {
  switch (key) {
    case VK_LEFT: return static_cast<int>(Arrow::kLeft);
    case VK_RIGHT: return static_cast<int>(Arrow::kRight);
    case VK_UP: return static_cast<int>(Arrow::kUp);
    case VK_DOWN: return static_cast<int>(Arrow::kDown);
    default: return -1;
  }
}

// Every message of every control goes through this, so it is a plain window
// procedure with its data in the control's user data: SetWindowSubclass
// looks its own up in a window property on every message, which under Wine
// is a trip to the Wine server and made the game's tests five times slower.
// It hands out the accessible objects, makes Enter press a button as Space
// does, has the window draw option buttons and frames, and draws the focus
// mark of the controls the system draws.
LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* hooked = reinterpret_cast<Hooked*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_SETFOCUS || message == WM_KILLFOCUS) hooked->focused = message == WM_SETFOCUS;
  if (message == WM_GETOBJECT) {
    const LRESULT object = AccessibleObject(hwnd, wparam, lparam, hooked->spoken, *hooked->apartment);
    if (object != 0) return object;
  }
  if (hooked->kind == ControlKind::kButton) {
    // The dialog manager gives Enter to the focused push button only when
    // the button reports DLGC_DEFPUSHBUTTON or DLGC_UNDEFPUSHBUTTON; an
    // owner-drawn one reports neither, and Enter would go to the window's
    // default command (IDOK), which no control has. So the focused button
    // asks for Enter itself and sends its click to the window as WM_COMMAND,
    // once per press (a held key's repeats are no presses).
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
  if (hooked->kind == ControlKind::kOptionButton) {
    // The arrow keys move by the grid, not by the dialog manager's order
    // round the group: the option button asks for them, and selects the
    // neighbour it moves to, as a click would.
    // Only when the dialog manager asks about an arrow key: the system's
    // option buttons find their group by the plain code.
    if (message == WM_GETDLGCODE) {
      const auto* asked = reinterpret_cast<const MSG*>(lparam);
      const LRESULT code = CallWindowProcW(hooked->control_proc, hwnd, message, wparam, lparam);
      const bool arrow = asked != nullptr && asked->message == WM_KEYDOWN && ArrowIndex(asked->wParam) >= 0;
      return arrow ? (code | DLGC_WANTARROWS) : code;
    }
    if (message == WM_KEYDOWN && ArrowIndex(wparam) >= 0) {
      const HWND target = hooked->arrow_targets[ArrowIndex(wparam)];
      if (target != nullptr && IsWindowEnabled(target)) {
        SetFocus(target);
        SendMessageW(target, BM_CLICK, 0, 0);
      }
      return 0;
    }
  }
  LRESULT result = 0;
  if (DrawnByWindow(hooked->kind) && (message == WM_PAINT || message == WM_PRINTCLIENT)) {
    if (message == WM_PRINTCLIENT) {
      AskWindowToDraw(hwnd, reinterpret_cast<HDC>(wparam), *hooked);
    } else {
      PAINTSTRUCT paint;
      AskWindowToDraw(hwnd, BeginPaint(hwnd, &paint), *hooked);
      EndPaint(hwnd, &paint);
    }
  } else {
    result = CallWindowProcW(hooked->control_proc, hwnd, message, wparam, lparam);
    if (DrawnByWindow(hooked->kind) && DrawsAtOnce(message) && IsWindowVisible(hwnd)) {
      const HDC dc = GetDC(hwnd);
      AskWindowToDraw(hwnd, dc, *hooked);
      ReleaseDC(hwnd, dc);
    }
  }
  // The multi-line panels are read-only: Tab, Enter and Escape go to the
  // window, as from any other control, instead of being kept by the edit
  // control; and reaching a panel with Tab selects nothing, so that it shows
  // its first lines rather than scrolling to the end of a selection.
  if (hooked->panel && message == WM_GETDLGCODE) {
    return result & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_HASSETSEL);
  }
  MarkFocus(hwnd, hooked->kind, message, hooked->focused);
  if (message == WM_PAINT || message == WM_NCPAINT) {
    for (const HWND later : hooked->covers) {
      // Painted when the queue next asks, not now: each is then painted
      // once after all that covered it drew, not once for each of them.
      RedrawWindow(later, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
    }
  }
  return result;
}

}  // namespace

void HookControl(HWND w, Hooked& hooked) {
  SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&hooked));
  hooked.control_proc =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlProc)));
}

}  // namespace forms::win32
