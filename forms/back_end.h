// What every back end does the same way around its toolkit: the load, the
// delivery of events, the report of an error that leaves a handler and the
// end of the program after it. A back end supplies the toolkit's part only.
#pragma once

#include <functional>

#include "forms/control_table.h"
#include "forms/runtime.h"

namespace forms {

class BackEnd : public ControlTable {
 public:
  // Connects the controls' events to the handlers and raises the load event.
  // Returns false when the load handler failed (the error was reported).
  bool Load(Handlers& handlers);

  // Replaces the standard report (an error box, then the end of the
  // program), for tests.
  using Reporter = std::function<void(const ErrorReport&)>;
  void SetReporter(Reporter reporter) { reporter_ = std::move(reporter); }

  // Whether an error was reported: the program has ended, and no event
  // reaches a handler any more.
  bool Ended() const { return ended_; }

 protected:
  explicit BackEnd(const Form& form) : ControlTable(form) {}

  // Raises the click event of a control, the row it was built from: nothing
  // before the load or after an error.
  void RaiseClick(const Control& control);

  // Where a toolkit must be told whom to call when the user acts; a toolkit
  // whose controls report to the window on their own needs nothing.
  virtual void ConnectEvents() {}
  // The standard report: the error box, and once it is closed the end of
  // the program, where the toolkit has one to end (hide the window, leave
  // the event loop with the failure code 1). A back end with no loop of its
  // own to leave ends by handling no more events, which Ended() already
  // sees to.
  virtual void ShowErrorBox(const ErrorReport& report) = 0;
  virtual void EndProgram() = 0;

 private:
  // Defined and used in back_end.cpp only; a template, so that no
  // std::function wraps each event.
  template <class Event>
  void Deliver(const Event& event);
  void Report(const ErrorReport& report);

  Handlers* handlers_ = nullptr;
  Reporter reporter_;
  bool ended_ = false;
};

}  // namespace forms
