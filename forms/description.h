// The stored description of a form: the window's properties and one row per
// control. Back ends build a window from it; nothing positions a control by
// hand. Texts are Windows-1251; geometry is in twips (1440 per inch).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace forms {

enum class ControlKind { kLabel, kFrame, kOptionButton, kButton, kTextBox, kListBox };

// 0xRRGGBB, or kDefaultColour for the control's own colours.
using Colour = std::uint32_t;
inline constexpr Colour kDefaultColour = 0xFFFFFFFFu;

struct Font {
  const char* name;
  int points;
  int weight;   // 400 normal, 700 bold
  int charset;  // 204: Cyrillic
};

// A control of the form, by array name and index.
struct Ref {
  const char* name = nullptr;
  std::int16_t index = -1;
};

struct Control {
  ControlKind kind;
  const char* name;              // the control array's name, or the control's own
  std::int16_t index;            // member of the array; -1 for a control in no array
  const char* container;         // the frame holding it; nullptr for the window
  const char* caption;           // Windows-1251; a text box's text
  int left, top, width, height;  // twips, from the container's origin
  Colour back_colour;
  int tab_index;
  bool visible = true;
  bool multi_line = false;  // text boxes: multi-line with a vertical scroll bar
  // The labels whose captions name this control for a screen reader, in
  // the order spoken; a label named so also speaks its own caption.
  Ref labelled_by[2] = {};
  // Whether it may reach past its container: only a control the user never
  // sees (the hidden panel) has a stored place outside the window.
  bool overhangs = false;
};

struct Form {
  const char* name;
  const char* caption;              // Windows-1251
  int client_width, client_height;  // twips
  Colour back_colour;
  Font font;
  std::span<const Control> controls;
};

// Whether two names are the same; nullptr is the same only as nullptr.
constexpr bool SameName(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) return a == b;
  for (; *a != '\0' && *a == *b; ++a, ++b) {
  }
  return *a == *b;
}

// A control by array name and index (-1 for one in no array): its row, or
// nullptr; its row number in the form, or -1.
constexpr const Control* FindRow(std::span<const Control> controls, std::string_view name, int index) {
  for (const Control& c : controls) {
    if (c.name == name && c.index == index) return &c;
  }
  return nullptr;
}
constexpr int FindControl(const Form& form, std::string_view name, int index) {
  const Control* c = FindRow(form.controls, name, index);
  return c == nullptr ? -1 : static_cast<int>(c - form.controls.data());
}

// What names a control for a screen reader beside its own caption: the
// captions of the labels it is labelled by, joined by blanks; empty when it
// has none.
std::u16string LabelledName(const Form& form, const Control& control);

// What is wrong with a description, or nullptr when nothing is: every
// container names a frame and every labelled_by a label; an array's members
// are of one kind with indexes 0, 1, ... without gaps or repeats; tab
// indexes are unique; every control lies inside its container, unless its
// row says it overhangs. A form asserts it at compile time, so that a wrong
// table does not build; the references by name are then sound at run time.
constexpr const char* Problem(const Form& form) {
  for (const Control& c : form.controls) {
    int width = form.client_width, height = form.client_height;
    if (c.container != nullptr) {
      const Control* frame = FindRow(form.controls, c.container, -1);
      if (frame == nullptr || frame->kind != ControlKind::kFrame) return "a container names no frame";
      width = frame->width;
      height = frame->height;
    }
    for (const Ref& ref : c.labelled_by) {
      if (ref.name == nullptr) continue;
      const Control* label = FindRow(form.controls, ref.name, ref.index);
      if (label == nullptr || label->kind != ControlKind::kLabel) return "labelled_by names no label";
    }
    for (const Control& other : form.controls) {
      if (&other == &c) continue;
      if (other.tab_index == c.tab_index) return "two controls share a tab index";
      if (!SameName(other.name, c.name)) continue;
      if (other.index == c.index) return "two controls share a name and an index";
      if (other.kind != c.kind || (other.index < 0) != (c.index < 0)) return "an array mixes kinds";
    }
    for (int i = 0; i < c.index; ++i) {
      if (FindRow(form.controls, c.name, i) == nullptr) return "an array's indexes have a gap";
    }
    const bool inside = c.left >= 0 && c.top >= 0 && c.width > 0 && c.height > 0 && c.left + c.width <= width &&
                        c.top + c.height <= height;
    if (!inside && !c.overhangs) return "a control reaches past its container";
  }
  return nullptr;
}

// Every text box of these forms is one the user cannot type into.
inline bool TakesFocus(ControlKind kind) { return kind != ControlKind::kLabel && kind != ControlKind::kFrame; }

// Pixels for a length in twips at the given dots per inch, rounded.
inline int TwipsToPixels(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

}  // namespace forms
