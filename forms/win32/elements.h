// The board's elements over Win32 controls: list boxes, edit controls,
// labels, buttons and option buttons, read and written by their messages.
#pragma once

#include <windows.h>

#include <vector>

#include "forms/control_table.h"

namespace forms::win32 {

// The option buttons of one container: exclusive, and one tab stop for all,
// on the checked member or else the first, as the dialog manager expects.
struct RadioGroup {
  std::vector<HWND> members;
  // The member whose selection was last raised or set: a click on it again
  // (the second half of a double click among them) raises nothing.
  HWND selected = nullptr;

  void UpdateTabStop() const;
};

// Each makes the element over a control; the signature is shared so that a
// table of the control kinds can name them.
Element ListOver(HWND list_box, RadioGroup* none);
// Edit controls, single-line or multi-line; the multi-line ones take and
// give CR LF line ends, as the texts are stored.
Element TextOver(HWND edit, RadioGroup* none);
Element CaptionOver(HWND label, RadioGroup* none);
Element SwitchOver(HWND button, RadioGroup* none);
Element OptionOver(HWND option_button, RadioGroup* group);

}  // namespace forms::win32
