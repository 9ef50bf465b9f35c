// A form's controls kept in memory: an in-memory element for every row of the
// description, so that a form's handlers run without any window.
#pragma once

#include "board/memory_elements.h"
#include "forms/control_table.h"

namespace forms {

class MemoryControls : public ControlTable {
 public:
  explicit MemoryControls(const Form& form) : ControlTable(form) {
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
};

}  // namespace forms
