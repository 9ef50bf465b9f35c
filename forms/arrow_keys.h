// The one keyboard rule of the selectors, the same on every back end: which
// option buttons form a group (the option buttons of one container), and
// where an arrow key moves in a group laid out as a grid: Left/Right to the
// neighbour in the same row, Up/Down to the one in the same column, and
// nowhere at an edge (no wrap). The frame works both out once per row
// (Placement); the back ends take them from there.
#pragma once

#include <array>
#include <string_view>

#include "forms/description.h"

namespace forms {

enum class Arrow { kLeft, kRight, kUp, kDown };

// The group of a row: for an option button the row of the first option
// button of its container, which names the group; -1 for any other control.
inline int SelectorGroup(const Form& form, int row) {
  const Control& f = form.controls[static_cast<std::size_t>(row)];
  if (f.kind != ControlKind::kOptionButton) return -1;
  for (std::size_t i = 0; i < form.controls.size(); ++i) {
    const Control& c = form.controls[i];
    if (c.kind != ControlKind::kOptionButton) continue;
    if (SameName(c.container, f.container)) return static_cast<int>(i);
  }
  return row;
}

// The row of the description that the arrow moves to from option button
// `from` (a row number) within its group; -1 at an edge. A row of the grid
// is the buttons with the same top, a column those with the same left.
inline int ArrowTarget(const Form& form, int from, Arrow arrow) {
  const Control& f = form.controls[static_cast<std::size_t>(from)];
  const int group = SelectorGroup(form, from);
  if (group < 0) return -1;
  const bool across = arrow == Arrow::kLeft || arrow == Arrow::kRight;
  const bool forward = arrow == Arrow::kRight || arrow == Arrow::kDown;
  int best = -1;
  int best_distance = 0;
  for (std::size_t i = 0; i < form.controls.size(); ++i) {
    const Control& c = form.controls[i];
    // Of the same group: option buttons of the same container.
    if (c.kind != ControlKind::kOptionButton || !SameName(c.container, f.container)) continue;
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

// Where Left, Right, Up and Down go from a row (Arrow's order), -1 where
// nowhere: always nowhere from a control that is no option button.
using ArrowTargets = std::array<int, 4>;
inline ArrowTargets ArrowTargetsOf(const Form& form, int from) {
  ArrowTargets to{-1, -1, -1, -1};
  for (const Arrow arrow : {Arrow::kLeft, Arrow::kRight, Arrow::kUp, Arrow::kDown})
    to[static_cast<std::size_t>(arrow)] = ArrowTarget(form, from, arrow);
  return to;
}

}  // namespace forms
