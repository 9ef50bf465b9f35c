// What a back end offers a form's code, and what it asks of it: the controls
// as the elements the board works on, found by array name and index; the
// events the form handles; and the report of an error that leaves a handler.
#pragma once

#include <exception>
#include <string>
#include <string_view>

#include "board/elements.h"
#include "forms/description.h"

namespace forms {

// The controls, and the user's number format (board::Locale), which every
// back end asks of its system.
class Controls : public board::Locale {
 public:
  // Each raises board::NoSuchElementError for a name and index with no
  // control of that kind.
  virtual board::List& List(std::string_view name, int index) = 0;
  virtual board::Text& Text(std::string_view name, int index) = 0;
  virtual board::Caption& Caption(std::string_view name, int index) = 0;
  virtual board::Switch& Switch(std::string_view name, int index) = 0;
  virtual board::Option& Option(std::string_view name, int index) = 0;
};

class Handlers {
 public:
  virtual ~Handlers() = default;
  virtual void Load() = 0;
  // A click on a control, the row of the description it was built from.
  virtual void Click(const Control& control) = 0;
};

// The text of the standard error box for an error that left a handler.
struct ErrorReport {
  std::u16string title;
  std::u16string message;
};
ErrorReport ReportFor(const Form& form, const std::exception& error);

// Runs one event handler. An error leaving it is handed to `report`, which
// shows it and ends the program.
template <class Handler, class Report>
void Deliver(const Form& form, Handler&& handler, Report&& report) {
  try {
    handler();
  } catch (const std::exception& error) {
    report(ReportFor(form, error));
  }
}

}  // namespace forms
