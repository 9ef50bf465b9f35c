// The browser back end of the forms runtime, compiled to WebAssembly: builds
// a form's controls as elements of the page from its description, hands them
// out as board elements that read and write the elements themselves, and
// delivers the page's clicks through the shared frame of forms/events.h.
#pragma once

#include "forms/control_table.h"
#include "forms/description.h"
#include "forms/events.h"

namespace forms::web {

class WebForm : public ControlTable, public FormEvents {
 public:
  // Builds the form inside the page's element with the form's name. One
  // form per page: the page's clicks go to the form built last.
  explicit WebForm(const Form& form);
  ~WebForm() override;

 protected:
  // A modal dialog with the report; the page then takes no more input.
  void EndWithError(const ErrorReport& report) override;
};

// The decimal separator of the browser's language, as the board wants it.
char DecimalSeparator();

}  // namespace forms::web
