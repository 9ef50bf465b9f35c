// Start-up in the browser: build MainForm in the page with the web back end
// and load it. The page's event loop runs on after main returns, so the
// window and its handlers live as long as the page.
#include "forms/web/web_form.h"
#include "window/main_form.h"

int main() {
  static forms::web::WebForm window(MainForm::Description());
  static MainForm form(window, forms::web::DecimalSeparator());
  return window.Load(form) ? 0 : 1;
}
