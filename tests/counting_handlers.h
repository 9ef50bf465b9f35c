// A form's handlers with a count of the clicks that reach them, by control,
// for the tests that check how many presses a quick double click makes.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "forms/runtime.h"

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

}  // namespace tests
