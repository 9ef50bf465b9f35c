// MainForm's controls that take the focus, on any front end, each as the
// front end's own control (the fixture's W(name, index)): the ones Tab
// visits, in order, and every one of them in two states of a game.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "forms/description.h"
#include "window/main_form.h"

namespace tests {

// By tab index, the group of selectors once, at `group_stop`.
template <class Fixture>
auto ExpectedTabStops(Fixture& g, int group_stop) {
  std::vector<const forms::Control*> rows;
  for (const auto& c : MainForm::Description().controls) {
    if (forms::TakesFocus(c.kind) && c.visible) rows.push_back(&c);
  }
  std::stable_sort(rows.begin(), rows.end(), [](auto* a, auto* b) { return a->tab_index < b->tab_index; });
  std::vector<decltype(g.W("", 0))> stops;
  for (const auto* c : rows) {
    if (std::string(c->name) != "Option1" || c->index == group_stop) stops.push_back(g.W(c->name, c->index));
  }
  return stops;
}

// Calls visit(row, control, another control, round) for every visible
// control that takes the focus, on the board as loaded (round 0), then with
// the full and the empty pools empty and a selector selected (round 1).
template <class Fixture, class Visit>
void ForEachFocusable(Fixture& g, Visit visit) {
  for (int round = 0; round < 2; ++round) {
    if (round == 1) {
      for (int i = 0; i < 7; ++i) g.Press(0);
      g.Select(4);
    }
    for (const auto& c : MainForm::Description().controls) {
      if (!forms::TakesFocus(c.kind) || !c.visible) continue;
      visit(c, g.W(c.name, c.index), g.W(c.name == std::string("Text1") ? "List1" : "Text1", 0), round);
    }
  }
}

}  // namespace tests
