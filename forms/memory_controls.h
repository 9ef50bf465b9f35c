// A form's controls kept in memory: an in-memory element for every row of the
// description, so that a form's handlers run without any window; a back end
// with no toolkit, whose clicks a test raises as a window delivers them.
#pragma once

#include <vector>

#include "board/errors.h"
#include "board/memory_elements.h"
#include "forms/back_end.h"

namespace forms {

class MemoryControls : public BackEnd {
 public:
  explicit MemoryControls(const Form& form, std::string decimal_separator = ".")
      : BackEnd(form), separator_(std::move(decimal_separator)) {
    Build(96);
  }

  // The element of a row as what it is, for tests to read and corrupt.
  template <class T>
  T& Get(std::string_view name, int index) {
    if constexpr (std::is_same_v<T, board::MemoryList>)
      return static_cast<T&>(List(name, index));
    else if constexpr (std::is_same_v<T, board::MemoryText>)
      return static_cast<T&>(Text(name, index));
    else if constexpr (std::is_same_v<T, board::MemoryCaption>)
      return static_cast<T&>(Caption(name, index));
    else if constexpr (std::is_same_v<T, board::MemorySwitch>)
      return static_cast<T&>(Switch(name, index));
    else
      return static_cast<T&>(Option(name, index));
  }

  // A click on a control as a window delivers it: a disabled button takes
  // none; an option button becomes the one selected among the option buttons
  // of its container, and raises its click only if it was not selected.
  void Click(std::string_view name, int index) {
    const int row = RowNumber(name, index);
    if (row < 0) throw board::NoSuchElementError();
    const auto& controls = Description().controls;
    const Control& control = controls[static_cast<std::size_t>(row)];
    if (auto* button = ElementAt<board::Switch>(static_cast<std::size_t>(row)); button && !button->Enabled()) return;
    if (auto* option = ElementAt<board::Option>(static_cast<std::size_t>(row))) {
      if (option->Value()) return;
      for (std::size_t other = 0; other < controls.size(); ++other) {
        auto* member = ElementAt<board::Option>(other);
        if (member != nullptr && SameName(controls[other].container, control.container))
          member->SetValue(member == option);
      }
    }
    RaiseClick(control);
  }

  std::string DecimalSeparator() const override { return separator_; }

  // The standard reports, kept where a window would show them.
  std::vector<ErrorReport> shown;

 protected:
  Element MakeControl(const Placement& p) override {
    switch (p.control->kind) {
      case ControlKind::kListBox: return std::make_unique<board::MemoryList>();
      case ControlKind::kTextBox: {
        auto text = std::make_unique<board::MemoryText>();
        text->text = p.control->caption;
        return text;
      }
      case ControlKind::kLabel: {
        auto caption = std::make_unique<board::MemoryCaption>();
        caption->caption = p.control->caption;
        return caption;
      }
      case ControlKind::kButton: return std::make_unique<board::MemorySwitch>();
      case ControlKind::kOptionButton: return std::make_unique<board::MemoryOption>();
      case ControlKind::kFrame: break;
    }
    return {};
  }
  void ShowErrorBox(const ErrorReport& report) override { shown.push_back(report); }
  // No loop to leave: the program has ended once no event is delivered.
  void EndProgram() override {}

 private:
  std::string separator_;
};

}  // namespace forms
