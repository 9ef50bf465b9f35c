// The volume's separator follows the user's locale, whatever text it is ("٫"
// in ps_AF and ar_EG). CTest runs this program once per locale, telling it in
// BOTTLES_EXPECT_SEPARATOR what to expect.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/qt/qt_fixture.h"

namespace {

TEST(QtLocaleTest, TheSummaryUsesTheLocalesSeparator) {
  const char* expected = std::getenv("BOTTLES_EXPECT_SEPARATOR");
  ASSERT_NE(expected, nullptr);
  qt_test::Game g("");
  EXPECT_EQ(g.window.DecimalSeparator(), expected);
  g.Select(4);
  g.Press(3);
  EXPECT_EQ(g.Summary(1), std::string(" = 1 / 0") + expected + "5");
}

}  // namespace
