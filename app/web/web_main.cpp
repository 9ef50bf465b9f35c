// Start-up in the browser: build MainForm's controls in the page with the web
// back end and load it. The page's event loop runs on after main returns, so
// the window and its handlers live as long as the page.
#include <optional>

#include "forms/web/web_form.h"
#include "window/main_form.h"

namespace {

// The summaries' decimal separator comes from the browser's number format,
// which a fresh page takes tens of milliseconds to make, longer than drawing
// the whole form. Loading only clears the board, which writes no volume, so
// the form that writes them is made at the first click, with the separator;
// until then the board is in its elements alone and nothing is selected,
// exactly as a form made at the start would have it.
class Page : public forms::Handlers {
 public:
  explicit Page(forms::web::WebForm& controls) : controls_(controls) {}
  void Load() override { MainForm(controls_, controls_).Form_Load(); }
  void Click(const forms::Control& control) override {
    if (!form_) form_.emplace(controls_, controls_);
    form_->Click(control);
  }

 private:
  forms::web::WebForm& controls_;
  std::optional<MainForm> form_;
};

}  // namespace

int main() {
  static forms::web::WebForm window(MainForm::Description());
  static Page page(window);
  return window.Load(page) ? 0 : 1;
}
