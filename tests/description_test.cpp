// The check of a form's description, on a small form made for it, whole and
// broken one way at a time: each fault is caught, and only by its own rule.
#include "forms/description.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

using forms::Control;
using K = forms::ControlKind;
using Rows = std::array<Control, 5>;

constexpr Rows kRows = {{
    {K::kFrame, "Frame1", -1, nullptr, "", 100, 100, 1000, 1000, 0, 3},
    {K::kOptionButton, "Option1", 0, "Frame1", "", 0, 0, 500, 300, 0, 4},
    {K::kOptionButton, "Option1", 1, "Frame1", "", 500, 700, 500, 300, 0, 5},
    {K::kLabel, "Label1", 0, nullptr, "", 0, 0, 2000, 100, 0, 0},
    {K::kTextBox, "Text1", 0, nullptr, "", 0, 1900, 2000, 100, 0, 1, true, false, {{"Label1", 0}}},
}};

template <class Change>
constexpr const char* ProblemAfter(Change change) {
  Rows rows = kRows;
  change(rows);
  return forms::Problem({"Form", "", 2000, 2000, 0, {"Times New Roman", 12, 400, 204}, rows});
}

static_assert(ProblemAfter([](Rows&) {}) == nullptr);

TEST(DescriptionTest, EachFaultIsFoundByItsRule) {
  const std::pair<const char*, const char*> cases[] = {
      {ProblemAfter([](Rows& r) { r[1].container = "Frame2"; }), "a container names no frame"},
      {ProblemAfter([](Rows& r) { r[2].container = "Label1"; }), "a container names no frame"},
      {ProblemAfter([](Rows& r) {
         r[4].labelled_by[0] = {"Label1", 1};
       }),
       "labelled_by names no label"},
      {ProblemAfter([](Rows& r) {
         r[4].labelled_by[1] = {"Text1", 0};
       }),
       "labelled_by names no label"},
      {ProblemAfter([](Rows& r) { r[2].index = 2; }), "an array's indexes have a gap"},
      {ProblemAfter([](Rows& r) { r[2].index = 0; }), "two controls share a name and an index"},
      {ProblemAfter([](Rows& r) { r[2].kind = K::kButton; }), "an array mixes kinds"},
      {ProblemAfter([](Rows& r) { r[4].tab_index = 3; }), "two controls share a tab index"},
      {ProblemAfter([](Rows& r) { r[2].left = 501; }), "a control reaches past its container"},
      {ProblemAfter([](Rows& r) { r[4].top = 1901; }), "a control reaches past its container"},
      {ProblemAfter([](Rows& r) { r[3].left = -1; }), "a control reaches past its container"},
  };
  for (const auto& [found, want] : cases) EXPECT_EQ(std::string(found ? found : "nothing"), want);
  // A row that says so may overhang: the hidden panel's case.
  EXPECT_EQ(ProblemAfter([](Rows& r) { r[4].top = 1901, r[4].overhangs = true; }), nullptr);
}

}  // namespace
