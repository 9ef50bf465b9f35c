// A form's controls kept in memory: an in-memory element for every row of the
// description, so that a form's handlers run without any window; a back end
// with no toolkit, whose clicks a test raises as a window delivers them.
#pragma once

#include <type_traits>
#include <vector>

#include "board/errors.h"
#include "board/memory_elements.h"
#include "forms/back_end.h"

namespace forms {

class MemoryControls : public BackEnd {
 public:
  // told: whether what each event changed is worked out and kept in
  // `changes`, as a screen reader would be told it.
  explicit MemoryControls(const Form& form, std::string decimal_separator = ".", bool told = true)
      : BackEnd(form), separator_(std::move(decimal_separator)) {
    if (!told) TellNoChanges();
    Build(96);
  }

  // The element of a row as what it is, for tests to read and corrupt.
  template <class T>
  T& Get(std::string_view name, int index) {
    const int row = RowNumber(name, index);
    using Kind = std::conditional_t<
        std::is_base_of_v<board::List, T>, board::List,
        std::conditional_t<
            std::is_base_of_v<board::Text, T>, board::Text,
            std::conditional_t<std::is_base_of_v<board::Caption, T>, board::Caption,
                               std::conditional_t<std::is_base_of_v<board::Switch, T>, board::Switch, board::Option>>>>;
    Kind* element = row < 0 ? nullptr : ElementAt<Kind>(static_cast<std::size_t>(row));
    if (element == nullptr) throw board::NoSuchElementError();
    return static_cast<T&>(*element);
  }

  // A click on a control as a window delivers it: a disabled button takes
  // none; an option button becomes the one selected among the option buttons
  // of its group, and raises its click only if it was not selected.
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
        if (member != nullptr && groups_[other] == groups_[static_cast<std::size_t>(row)])
          member->SetValue(member == option);
      }
    }
    RaiseClick(control);
  }

  std::string DecimalSeparator() const override { return separator_; }

  // The standard reports, kept where a window would show them.
  std::vector<ErrorReport> shown;
  // What each event changed, as a screen reader is told it.
  std::vector<Change> changes;

 protected:
  Element MakeControl(const Placement& p) override {
    groups_.resize(Description().controls.size(), -1);
    groups_[p.row] = p.group;
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
  void Changed(const Change& change) override { changes.push_back(change); }
  // No loop to leave: the program has ended once no event is delivered.
  void EndProgram() override {}

 private:
  std::string separator_;
  std::vector<int> groups_;  // by row, as the frame placed them
};

}  // namespace forms
