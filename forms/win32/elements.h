// The board's elements over Win32 controls: list boxes, edit controls,
// labels, buttons and option buttons, read and written by their messages.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "board/elements.h"

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

std::unique_ptr<board::List> ListOver(HWND list_box);
// Edit controls, single-line or multi-line; the multi-line ones take and
// give CR LF line ends, as the texts are stored.
std::unique_ptr<board::Text> TextOver(HWND edit);
std::unique_ptr<board::Caption> CaptionOver(HWND label);
std::unique_ptr<board::Switch> SwitchOver(HWND button);
std::unique_ptr<board::Option> OptionOver(HWND option_button, RadioGroup& group);

}  // namespace forms::win32
