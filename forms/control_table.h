// A form's controls as the board's elements: one set of elements per row of
// the description, found by array name and index. A back end fills the rows
// with elements over its own controls.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "board/errors.h"
#include "forms/runtime.h"

namespace forms {

class ControlTable : public Controls {
 public:
  // What a row offers the board; a row has the elements of its kind only.
  struct Elements {
    std::unique_ptr<board::List> list;
    std::unique_ptr<board::Text> text;
    std::unique_ptr<board::Caption> caption;
    std::unique_ptr<board::Switch> button;
    std::unique_ptr<board::Option> option;
  };

  explicit ControlTable(const Form& form) : form_(form), elements_(form.controls.size()) {}

  board::List& List(std::string_view name, int index) override {
    return Find(name, index, ControlKind::kListBox, &Elements::list);
  }
  board::Text& Text(std::string_view name, int index) override {
    return Find(name, index, ControlKind::kTextBox, &Elements::text);
  }
  board::Caption& Caption(std::string_view name, int index) override {
    return Find(name, index, ControlKind::kLabel, &Elements::caption);
  }
  board::Switch& Switch(std::string_view name, int index) override {
    return Find(name, index, ControlKind::kButton, &Elements::button);
  }
  board::Option& Option(std::string_view name, int index) override {
    return Find(name, index, ControlKind::kOptionButton, &Elements::option);
  }

  const Form& Description() const { return form_; }

 protected:
  Elements& ElementsOf(std::size_t row) { return elements_[row]; }

 private:
  // Raises board::NoSuchElementError for a name and index with no control
  // of the kind, as a control array does for a missing member.
  template <class T>
  T& Find(std::string_view name, int index, ControlKind kind, std::unique_ptr<T> Elements::*member) {
    const int row = FindControl(form_, name, index);
    if (row < 0 || form_.controls[static_cast<std::size_t>(row)].kind != kind) {
      throw board::NoSuchElementError();
    }
    T* element = (elements_[static_cast<std::size_t>(row)].*member).get();
    if (element == nullptr) throw board::NoSuchElementError();
    return *element;
  }

  const Form& form_;
  std::vector<Elements> elements_;
};

}  // namespace forms
