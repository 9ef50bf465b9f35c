// Where an arrow key moves in a group of option buttons laid out as a grid,
// the same on every back end: Left/Right to the neighbour in the same row,
// Up/Down to the one in the same column, and nowhere at an edge (no wrap).
#pragma once

#include <string_view>

#include "forms/description.h"

namespace forms {

enum class Arrow { kLeft, kRight, kUp, kDown };

// The row of the description that the arrow moves to from option button
// `from` (a row number) among the option buttons of its container; -1 at an
// edge. A row of the grid is the buttons with the same top, a column those
// with the same left.
inline int ArrowTarget(const Form& form, int from, Arrow arrow) {
  const Control& f = form.controls[static_cast<std::size_t>(from)];
  const auto same_container = [&f](const Control& c) {
    if (c.container == nullptr || f.container == nullptr) return c.container == f.container;
    return std::string_view(c.container) == f.container;
  };
  const bool across = arrow == Arrow::kLeft || arrow == Arrow::kRight;
  const bool forward = arrow == Arrow::kRight || arrow == Arrow::kDown;
  int best = -1;
  int best_distance = 0;
  for (std::size_t i = 0; i < form.controls.size(); ++i) {
    const Control& c = form.controls[i];
    if (c.kind != ControlKind::kOptionButton || !same_container(c)) continue;
    if (across ? c.top != f.top : c.left != f.left) continue;
    const int distance =
        forward ? (across ? c.left - f.left : c.top - f.top) : (across ? f.left - c.left : f.top - c.top);
    if (distance > 0 && (best < 0 || distance < best_distance)) {
      best = static_cast<int>(i);
      best_distance = distance;
    }
  }
  return best;
}

}  // namespace forms
