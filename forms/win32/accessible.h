// What a screen reader is told of the Win32 controls: for each control an
// accessible object over the system's own, with the name its labels give it,
// its role and its read-only state; COM is loaded only once one is asked for.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "forms/description.h"

namespace forms::win32 {

// Screen readers get the controls' accessible objects through COM, which the
// window's thread joins when the first of them is asked for (on that thread:
// WM_GETOBJECT is sent to the control), and leaves with the window: this
// goes last, once no control can be asked any more.
struct Apartment {
  Apartment() = default;
  ~Apartment();
  Apartment(const Apartment&) = delete;
  Apartment& operator=(const Apartment&) = delete;

  bool asked = false;
  bool joined = false;
};

// What a screen reader is told of a control beyond what the system's own
// object says: a name made from the captions of the labels that go with it
// (and for a label, its own current caption after them), its role, and for a
// text box that it is read-only.
struct Spoken {
  std::wstring labels;  // empty: the system's name, the window text
  bool then_caption = false;
  LONG role = 0;
  bool read_only = false;
  // What the moves change, shared with the objects handed out, which may
  // outlive the control: a pool's name with its count (empty: the labels),
  // and the words of the last move, the description of the control that
  // had the focus then.
  struct Now {
    std::wstring name;
    std::wstring words;
  };
  std::shared_ptr<Now> now = std::make_shared<Now>();
};

// The labels' captions never change: the frame joins them once. A label's
// object gives its name (labels and caption) as its value too.
Spoken SpokenOf(const Control& control, const std::u16string& labels);

// The answer to WM_GETOBJECT (`wparam`, `lparam`) sent to a control: its own
// accessible object for its client area, joining COM on the way; 0 where the
// system's own object is to answer (another object asked for, or COM
// missing).
LRESULT AccessibleObject(HWND hwnd, WPARAM wparam, LPARAM lparam, const Spoken& spoken, Apartment& apartment);

}  // namespace forms::win32
