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

template <class Window>
struct LoadedForm {
  // A separator of 0 is the window's own, the user's.
  explicit LoadedForm(char separator)
      : window(MainForm::Description()), form(window, separator != 0 ? separator : window.DecimalSeparator()) {
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
