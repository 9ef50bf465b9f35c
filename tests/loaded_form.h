// MainForm loaded in a back end's window, for that back end's tests: its
// handlers counting the clicks that reach them (how many presses a quick
// double click makes), and the error report caught instead of shown.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>

#include "forms/runtime.h"
#include "window/main_form.h"

namespace tests {

class CountingHandlers : public forms::Handlers {
 public:
  explicit CountingHandlers(forms::Handlers& form) : form_(form) {}
  void Load() override { form_.Load(); }
  void Click(const forms::Control& control) override {
    ++clicks_[{control.name, control.index}];
    form_.Click(control);
  }
  int Clicks(const char* name, int index) const {
    const auto found = clicks_.find({name, index});
    return found == clicks_.end() ? 0 : found->second;
  }

 private:
  forms::Handlers& form_;
  std::map<std::pair<std::string, int>, int> clicks_;
};

// A decimal separator given by the test, or the window's own, the user's,
// asked at every summary as the program does.
template <class Window>
class TestLocale : public board::Locale {
 public:
  TestLocale(std::string separator, const Window& window) : separator_(std::move(separator)), window_(window) {}
  std::string DecimalSeparator() const override { return separator_.empty() ? window_.DecimalSeparator() : separator_; }

 private:
  std::string separator_;
  const Window& window_;
};

template <class Window>
struct LoadedForm {
  // An empty separator is the window's own.
  explicit LoadedForm(std::string separator)
      : window(MainForm::Description()), locale(std::move(separator), window), form(window, locale) {
    window.SetReporter([this](const forms::ErrorReport& r) { report = r; });
    loaded = window.Load(handlers);
  }
  LoadedForm(const LoadedForm&) = delete;
  LoadedForm& operator=(const LoadedForm&) = delete;

  Window window;
  TestLocale<Window> locale;
  MainForm form;
  CountingHandlers handlers{form};
  std::optional<forms::ErrorReport> report;
  bool loaded = false;
};

}  // namespace tests
