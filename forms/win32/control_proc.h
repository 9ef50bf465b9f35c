// What the Win32 back end adds to the system's controls, in one window
// procedure put before each control's own: the accessible objects, Enter on a
// button, the selectors' arrow keys by the grid, the focus mark, and the
// fixed order of painting where controls overlap.
#pragma once

#include <windows.h>

#include <vector>

#include "forms/description.h"
#include "forms/win32/accessible.h"

namespace forms::win32 {

// What ControlProc knows of a control, kept in the control's user data.
struct Hooked {
  ControlKind kind = ControlKind::kLabel;
  bool panel = false;  // a multi-line text box
  Spoken spoken;
  Apartment* apartment = nullptr;  // the window's
  WNDPROC control_proc = nullptr;  // the control's own procedure
  bool focused = false;            // between its WM_SETFOCUS and its WM_KILLFOCUS
  // An option button's neighbours for Left, Right, Up and Down (Arrow's
  // order); nullptr at an edge.
  HWND arrow_targets[4] = {};
  // Later controls that overlap it, drawn again after it draws.
  std::vector<HWND> covers;
};

// Puts ControlProc before the control's own procedure; `hooked` must live as
// long as the control.
void HookControl(HWND w, Hooked& hooked);

// The focus mark: a black ring, `black` pixels wide, just inside `r`, and a
// white one, `white` wide, inside that.
void DrawFocusMark(HDC dc, RECT r, int black, int white);
// One pixel of a focus mark's line at 96 DPI, more at a higher DPI.
int MarkUnit(HWND hwnd);

}  // namespace forms::win32
