// The page's form as markup, written when the page is built: the window and
// its controls as the browser back end finds them, with their places in the
// page's style, so that the browser paints the form before its script has
// arrived; the script then adopts these elements (web_form.js).
#pragma once

#include <string>

#include "forms/description.h"
#include "forms/memory_controls.h"

namespace forms::web {

// A kind by the name the page's markup, style and script know it by. Every
// kind has one: a kind without it fails to build.
const char* KindName(ControlKind kind);

struct Markup {
  std::string caption;  // the window's caption, plain UTF-8
  std::string title;    // the caption as the page's title, whose runs of blanks a browser would collapse
  std::string style;    // the window's and every control's place, size, colour and font
  std::string form;     // the window's element with the controls in it, in tab order
};

// The form at 96 dpi in the state its controls hold, after the load: the
// page looks as it will once its program runs.
Markup FormMarkup(MemoryControls& controls);

}  // namespace forms::web
