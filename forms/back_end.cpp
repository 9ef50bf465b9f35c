// The frame every back end shares; see back_end.h.
#include "forms/back_end.h"

namespace forms {

template <class Event>
void BackEnd::Deliver(const Event& event) {
  if (ended_ || handlers_ == nullptr) return;
  forms::Deliver(Description(), event, [this](const ErrorReport& report) { Report(report); });
}

bool BackEnd::Load(Handlers& handlers) {
  handlers_ = &handlers;
  ConnectEvents();
  Deliver([this] { handlers_->Load(); });
  return !ended_;
}

void BackEnd::RaiseClick(const Control& control) {
  Deliver([this, &control] { handlers_->Click(control); });
}

void BackEnd::Report(const ErrorReport& report) {
  ended_ = true;
  if (reporter_) {
    reporter_(report);
    return;
  }
  ShowErrorBox(report);
  EndProgram();
}

}  // namespace forms
