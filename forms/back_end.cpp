// The frame every back end shares; see back_end.h.
#include "forms/back_end.h"

#include <algorithm>

#include "forms/cp1251.h"

namespace forms {

template <class Event>
void BackEnd::Deliver(const Event& event) {
  if (ended_ || handlers_ == nullptr) return;
  forms::Deliver(Description(), event, [this](const ErrorReport& report) { Report(report); });
}

Box BackEnd::WindowBox(const Form& form, std::size_t row, int dpi) {
  const Control& c = form.controls[row];
  const auto px = [dpi](int twips) { return TwipsToPixels(twips, dpi); };
  Box box{px(c.left), px(c.top), px(c.width), px(c.height)};
  // A frame's place is from its own container's origin, up to the window.
  for (const char* container = c.container; container != nullptr;) {
    const int frame = FindControl(form, container, -1);
    if (frame < 0) break;
    const Control& f = form.controls[static_cast<std::size_t>(frame)];
    box.left += px(f.left);
    box.top += px(f.top);
    container = f.container;
  }
  return box;
}

Placement BackEnd::Place(const Form& form, std::size_t row, int dpi) {
  const Control& c = form.controls[row];
  const auto px = [dpi](int twips) { return TwipsToPixels(twips, dpi); };
  return {row,
          &c,
          c.container == nullptr ? -1 : FindControl(form, c.container, -1),
          {px(c.left), px(c.top), px(c.width), px(c.height)},
          WindowBox(form, row, dpi),
          WithLineFeeds(DecodeCp1251(c.caption)),
          LabelledName(form, c)};
}

std::vector<std::size_t> BackEnd::CreationOrder(const Form& form) {
  // A frame comes at its own tab index, or before the first control it
  // holds if that comes sooner.
  std::vector<int> key(form.controls.size());
  for (std::size_t i = 0; i < key.size(); ++i) key[i] = form.controls[i].tab_index;
  for (std::size_t i = 0; i < key.size(); ++i) {
    const Control& c = form.controls[i];
    const int frame = c.container == nullptr ? -1 : FindControl(form, c.container, -1);
    if (frame >= 0) key[static_cast<std::size_t>(frame)] = std::min(key[static_cast<std::size_t>(frame)], c.tab_index);
  }
  std::vector<std::size_t> order(key.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (key[a] != key[b]) return key[a] < key[b];
    return form.controls[a].kind == ControlKind::kFrame && form.controls[b].kind != ControlKind::kFrame;
  });
  return order;
}

void BackEnd::Build(int dpi) {
  const Form& form = Description();
  for (const std::size_t row : CreationOrder(form)) SetElement(row, MakeControl(Place(form, row, dpi)));
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
