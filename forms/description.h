// The stored description of a form: the window's properties and one row per
// control. Back ends build a window from it; nothing positions a control by
// hand. Texts are Windows-1251; geometry is in twips (1440 per inch).
#pragma once

#include <cstdint>
#include <span>

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
  const char* name;       // the control array's name, or the control's own
  std::int16_t index;     // member of the array; -1 for a control in no array
  const char* container;  // the frame holding it; nullptr for the window
  const char* caption;    // Windows-1251; a text box's text
  int left, top, width, height;  // twips, from the container's origin
  Colour back_colour;
  int tab_index;
  bool visible = true;
  bool multi_line = false;  // text boxes: multi-line with a vertical scroll bar
  // The labels whose captions name this control for a screen reader, in
  // the order spoken; a label named so also speaks its own caption.
  Ref labelled_by[2] = {};
};

struct Form {
  const char* name;
  const char* caption;  // Windows-1251
  int client_width, client_height;  // twips
  Colour back_colour;
  Font font;
  std::span<const Control> controls;
};

// Every text box of these forms is one the user cannot type into.
inline bool TakesFocus(ControlKind kind) {
  return kind != ControlKind::kLabel && kind != ControlKind::kFrame;
}

// Pixels for a length in twips at the given dots per inch, rounded.
inline int TwipsToPixels(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

}  // namespace forms
