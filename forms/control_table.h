// A form's controls as the board's elements: one element per row of the
// description, of the row's kind, found by array name and index. A back end
// fills the rows with elements over its own controls; the form's code gets
// them through a thin watch that notes which rows it wrote to, so that the
// frame can tell what an event changed without reading every control.
#pragma once

#include <memory>
#include <string>
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
  explicit ControlTable(const Form& form)
      : form_(form),
        elements_(form.controls.size()),
        watched_(form.controls.size()),
        touched_flags_(form.controls.size(), 0),
        captions_(form.controls.size()) {}

  board::List& List(std::string_view name, int index) override { return Find<board::List>(name, index); }
  board::Text& Text(std::string_view name, int index) override { return Find<board::Text>(name, index); }
  board::Caption& Caption(std::string_view name, int index) override { return Find<board::Caption>(name, index); }
  board::Switch& Switch(std::string_view name, int index) override { return Find<board::Switch>(name, index); }
  board::Option& Option(std::string_view name, int index) override { return Find<board::Option>(name, index); }

  const Form& Description() const { return form_; }

  // The last caption the form's code gave a label (a caption cannot be read
  // back from every toolkit), else its described one; in UTF-8.
  const std::string& CaptionOf(std::size_t row) const { return captions_[row]; }

 protected:
  void SetElement(std::size_t row, Element element);
  // The rows the form's code wrote to since the last call, in the order of
  // their first write; the list is emptied.
  std::vector<std::size_t> TakeTouched() {
    std::vector<std::size_t> rows;
    rows.swap(touched_);
    for (const std::size_t row : rows) touched_flags_[row] = 0;
    return rows;
  }
  // The element of a row if it is a T, else nullptr: the back end's own,
  // not the watch the form's code writes through.
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
    auto* element = row < 0 ? nullptr : std::get_if<std::unique_ptr<T>>(&watched_[static_cast<std::size_t>(row)]);
    if (element == nullptr) throw board::NoSuchElementError();
    return **element;
  }

  template <class T>
  class Watched;
  template <class T>
  class Watch;
  void Touch(std::size_t row) {
    if (touched_flags_[row] != 0) return;
    touched_flags_[row] = 1;
    touched_.push_back(row);
  }

  const Form& form_;
  std::vector<Element> elements_;
  std::vector<Element> watched_;  // what the form's code gets
  std::vector<std::size_t> touched_;
  std::vector<char> touched_flags_;
  std::vector<std::string> captions_;
};

}  // namespace forms
