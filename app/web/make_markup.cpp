// Run as the page is built (under Node.js, as the rest is WebAssembly too):
// writes the window's caption, the page's title, the form's style and its
// markup, in the state of a form just loaded, into the four files named, for
// make_page.cmake.
#include <cstdio>
#include <string>

#include "forms/memory_controls.h"
#include "forms/web/markup.h"
#include "window/main_form.h"

namespace {

bool Write(const char* path, const std::string& text) {
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fputs("usage: make_markup CAPTION TITLE STYLE FORM\n", stderr);
    return 2;
  }
  // The load writes no number that the decimal separator would change.
  forms::MemoryControls controls(MainForm::Description());
  MainForm form(controls, controls);
  if (!controls.Load(form)) return 1;
  const forms::web::Markup markup = forms::web::FormMarkup(controls);
  return Write(argv[1], markup.caption) && Write(argv[2], markup.title) && Write(argv[3], markup.style) &&
                 Write(argv[4], markup.form)
             ? 0
             : 1;
}
