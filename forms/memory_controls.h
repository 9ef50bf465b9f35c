// A form's controls kept in memory: an in-memory element for every row of the
// description, so that a form's handlers run without any window; a back end
// with no toolkit, whose clicks a test raises.
#pragma once

#include <vector>

#include "board/errors.h"
#include "board/memory_elements.h"
#include "forms/back_end.h"

namespace forms {

class MemoryControls : public BackEnd {
 public:
  explicit MemoryControls(const Form& form) : BackEnd(form) {
    for (std::size_t row = 0; row < form.controls.size(); ++row) {
      Elements& e = ElementsOf(row);
      switch (form.controls[row].kind) {
        case ControlKind::kListBox: e.list = std::make_unique<board::MemoryList>(); break;
        case ControlKind::kTextBox: e.text = std::make_unique<board::MemoryText>(); break;
        case ControlKind::kLabel: e.caption = std::make_unique<board::MemoryCaption>(); break;
        case ControlKind::kButton: e.button = std::make_unique<board::MemorySwitch>(); break;
        case ControlKind::kOptionButton: e.option = std::make_unique<board::MemoryOption>(); break;
        case ControlKind::kFrame: break;
      }
    }
  }

  // The element of a row as what it is, for tests to read and corrupt.
  template <class T>
  T& Get(std::string_view name, int index) {
    if constexpr (std::is_same_v<T, board::MemoryList>) return static_cast<T&>(List(name, index));
    else if constexpr (std::is_same_v<T, board::MemoryText>) return static_cast<T&>(Text(name, index));
    else if constexpr (std::is_same_v<T, board::MemoryCaption>) return static_cast<T&>(Caption(name, index));
    else if constexpr (std::is_same_v<T, board::MemorySwitch>) return static_cast<T&>(Switch(name, index));
    else return static_cast<T&>(Option(name, index));
  }

  // Raises the click event of a control, as a window does when it is
  // pressed; the elements are left as they are.
  void Click(std::string_view name, int index) {
    const int row = FindControl(Description(), name, index);
    if (row < 0) throw board::NoSuchElementError();
    RaiseClick(Description().controls[static_cast<std::size_t>(row)]);
  }

  // The standard reports, kept where a window would show them.
  std::vector<ErrorReport> shown;

 protected:
  void ShowErrorBox(const ErrorReport& report) override { shown.push_back(report); }
  // No loop to leave: the program has ended once no event is delivered.
  void EndProgram() override {}
};

}  // namespace forms
