// The browser back end of the forms runtime, compiled to WebAssembly: adopts
// a form's controls, which the page's markup holds (markup.h), hands them
// out as board elements that read and write the elements themselves, and
// delivers the page's clicks through the frame every back end shares.
#pragma once

#include <string>

#include "forms/back_end.h"
#include "forms/description.h"

namespace forms::web {

class WebForm : public BackEnd {
 public:
  // Adopts the form in the page's element with the form's name. One form
  // per page: the page's clicks go to the form adopted last.
  explicit WebForm(const Form& form);
  ~WebForm() override;

  // After the load: the form takes input, and is no longer busy.
  void Ready();

  // A click on the page's element of a row of the description.
  void Clicked(int row);
  // Something that went wrong on an event's way outside the handlers: the
  // error box, as for an error that leaves a handler.
  void Failed(const std::u16string& what);

  // The decimal separator of the browser's languages.
  std::string DecimalSeparator() const override;

 protected:
  Element MakeControl(const Placement& placement) override;
  // A modal dialog with the report; the page then takes no more input.
  void ShowErrorBox(const ErrorReport& report) override;
  // A page has no loop to leave: it has ended once it handles no event.
  void EndProgram() override {}
  // The pools' names carry their counts; the page's one polite status
  // region says the words of each move.
  void Changed(const Change& change) override;
};

}  // namespace forms::web
