// A real MainForm loaded on a back end's window, with the report of an error
// kept for the test instead of shown: how the Qt and the Win32 games start.
#pragma once

#include <optional>

#include "forms/runtime.h"
#include "tests/counting_handlers.h"
#include "window/main_form.h"

namespace tests {

template <class Window>
struct LoadedForm {
  explicit LoadedForm(char separator) : window(MainForm::Description()), form(window, separator) {
    window.SetReporter([this](const forms::ErrorReport& r) { report = r; });
    loaded = window.Load(handlers);
  }
  LoadedForm(const LoadedForm&) = delete;
  LoadedForm& operator=(const LoadedForm&) = delete;

  Window window;
  MainForm form;
  CountingHandlers handlers{form};
  std::optional<forms::ErrorReport> report;
  bool loaded = false;
};

}  // namespace tests
