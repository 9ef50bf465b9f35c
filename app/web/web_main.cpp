// Start-up in the browser, shaped as on the desktop: the page's markup
// already holds MainForm's controls, which the web back end adopts; one
// MainForm over them is loaded, and the form then takes input. The page's
// event loop runs on after main returns, so the window and its handlers
// live as long as the page.
#include "forms/web/web_form.h"
#include "window/main_form.h"

int main() {
  static forms::web::WebForm window(MainForm::Description());
  static MainForm form(window, window);
  const bool loaded = window.Load(form);
  window.Ready();
  return loaded ? 0 : 1;
}
