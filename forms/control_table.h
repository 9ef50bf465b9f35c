// A form's controls as the board's elements: one element per row of the
// description, of the row's kind, found by array name and index. A back end
// fills the rows with elements over its own controls.
#pragma once

#include <memory>
#include <string_view>
#include <variant>
#include <vector>

#include "board/errors.h"
#include "forms/runtime.h"

namespace forms {

// What a row offers the board: nothing (a frame), or the one element of its
// kind.
using Element =
    std::variant<std::monostate, std::unique_ptr<board::List>, std::unique_ptr<board::Text>,
                 std::unique_ptr<board::Caption>, std::unique_ptr<board::Switch>, std::unique_ptr<board::Option>>;

class ControlTable : public Controls {
 public:
  explicit ControlTable(const Form& form) : form_(form), elements_(form.controls.size()) {}

  board::List& List(std::string_view name, int index) override { return Find<board::List>(name, index); }
  board::Text& Text(std::string_view name, int index) override { return Find<board::Text>(name, index); }
  board::Caption& Caption(std::string_view name, int index) override { return Find<board::Caption>(name, index); }
  board::Switch& Switch(std::string_view name, int index) override { return Find<board::Switch>(name, index); }
  board::Option& Option(std::string_view name, int index) override { return Find<board::Option>(name, index); }

  const Form& Description() const { return form_; }

 protected:
  void SetElement(std::size_t row, Element element) { elements_[row] = std::move(element); }
  // The element of a row if it is a T, else nullptr.
  template <class T>
  T* ElementAt(std::size_t row) {
    const auto* element = std::get_if<std::unique_ptr<T>>(&elements_[row]);
    return element == nullptr ? nullptr : element->get();
  }

 private:
  // Raises board::NoSuchElementError for a name and index with no control
  // of the kind, as a control array does for a missing member.
  template <class T>
  T& Find(std::string_view name, int index) {
    const int row = FindControl(form_, name, index);
    T* element = row < 0 ? nullptr : ElementAt<T>(static_cast<std::size_t>(row));
    if (element == nullptr) throw board::NoSuchElementError();
    return *element;
  }

  const Form& form_;
  std::vector<Element> elements_;
};

}  // namespace forms
