// The frame every back end puts around a form's handlers: the load, the
// delivery of a click, and the end of the program after an error that left
// a handler. A back end adds only how its toolkit shows the error box and
// ends; once that has happened, no event reaches the handlers again.
#pragma once

#include "forms/runtime.h"

namespace forms {

class FormEvents {
 public:
  explicit FormEvents(const Form& form) : form_(form) {}
  virtual ~FormEvents() = default;
  FormEvents(const FormEvents&) = delete;
  FormEvents& operator=(const FormEvents&) = delete;

  // Hands the form's events to `handlers` and raises the load event.
  // Returns false when the load handler failed (the error was reported).
  bool Load(Handlers& handlers) {
    handlers_ = &handlers;
    Deliver([this] { handlers_->Load(); });
    return !ended_;
  }

  // A click on the control of a row of the description.
  void Click(const Control& control) {
    if (handlers_ == nullptr) return;
    Deliver([this, &control] { handlers_->Click(control); });
  }

  // True once an error was reported: the program has ended.
  bool Ended() const { return ended_; }

 protected:
  // Shows the standard error box and ends the program, as the toolkit does.
  virtual void EndWithError(const ErrorReport& report) = 0;

 private:
  template <class Event>
  void Deliver(Event&& event) {
    if (ended_) return;
    forms::Deliver(form_, event, [this](const ErrorReport& report) {
      ended_ = true;
      EndWithError(report);
    });
  }

  const Form& form_;
  Handlers* handlers_ = nullptr;
  bool ended_ = false;
};

}  // namespace forms
