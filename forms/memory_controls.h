// A form's controls kept in memory: one in-memory element per row of the
// description, so that a form's handlers run without any window.
#pragma once

#include <memory>
#include <vector>

#include "board/errors.h"
#include "board/memory_elements.h"
#include "forms/runtime.h"

namespace forms {

class MemoryControls : public Controls {
 public:
  explicit MemoryControls(const Form& form) : form_(form), rows_(form.controls.size()) {}

  board::List& List(std::string_view name, int index) override {
    return Get<board::MemoryList>(name, index, ControlKind::kListBox);
  }
  board::Text& Text(std::string_view name, int index) override {
    return Get<board::MemoryText>(name, index, ControlKind::kTextBox);
  }
  board::Caption& Caption(std::string_view name, int index) override {
    return Get<board::MemoryCaption>(name, index, ControlKind::kLabel);
  }
  board::Switch& Switch(std::string_view name, int index) override {
    return Get<board::MemorySwitch>(name, index, ControlKind::kButton);
  }
  board::Option& Option(std::string_view name, int index) override {
    return Get<board::MemoryOption>(name, index, ControlKind::kOptionButton);
  }

 private:
  struct Row {
    board::MemoryList list;
    board::MemoryText text;
    board::MemoryCaption caption;
    board::MemorySwitch button;
    board::MemoryOption option;
  };

  template <class T>
  T& Get(std::string_view name, int index, ControlKind kind) {
    const int row = FindControl(form_, name, index);
    if (row < 0 || form_.controls[static_cast<std::size_t>(row)].kind != kind) {
      throw board::NoSuchElementError();
    }
    auto& slot = rows_[static_cast<std::size_t>(row)];
    if (!slot) slot = std::make_unique<Row>();
    if constexpr (std::is_same_v<T, board::MemoryList>) return slot->list;
    else if constexpr (std::is_same_v<T, board::MemoryText>) return slot->text;
    else if constexpr (std::is_same_v<T, board::MemoryCaption>) return slot->caption;
    else if constexpr (std::is_same_v<T, board::MemorySwitch>) return slot->button;
    else return slot->option;
  }

  const Form& form_;
  std::vector<std::unique_ptr<Row>> rows_;
};

}  // namespace forms
