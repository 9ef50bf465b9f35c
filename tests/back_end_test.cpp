// The frame every back end shares, on the in-memory controls: the load, the
// delivery of clicks, and the end of the events after an error is reported.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "board/errors.h"
#include "forms/cp1251.h"
#include "forms/memory_controls.h"

namespace {

constexpr forms::Control kControls[] = {
    {forms::ControlKind::kButton, "Command1", 0, nullptr, "A", 0, 0, 100, 100, forms::kDefaultColour, 0},
    {forms::ControlKind::kButton, "Command1", 1, nullptr, "B", 0, 100, 100, 100, forms::kDefaultColour, 1},
};
const forms::Form kForm{"Form1", "site   Title", 200, 200, forms::kDefaultColour, {"Arial", 10, 400, 204}, kControls};

// Counts what reaches it; Command1(1), or the load when asked, fails.
class Handlers : public forms::Handlers {
 public:
  void Load() override {
    ++loads;
    if (fail_load) throw board::OverflowError();
  }
  void Click(const forms::Control& control) override {
    clicks += std::to_string(control.index);
    if (control.index == 1) throw board::OverflowError();
  }
  bool fail_load = false;
  int loads = 0;
  std::string clicks;
};

TEST(BackEndTest, AnErrorIsReportedOnceAndEndsTheEvents) {
  forms::MemoryControls controls(kForm);
  Handlers handlers;
  controls.Click("Command1", 0);  // before the load: no handler yet
  ASSERT_TRUE(controls.Load(handlers));
  EXPECT_EQ(handlers.loads, 1);
  controls.Click("Command1", 0);
  controls.Click("Command1", 1);
  ASSERT_EQ(controls.shown.size(), 1u);
  EXPECT_TRUE(controls.shown[0].title == u"Title");
  EXPECT_TRUE(controls.Ended());
  controls.Click("Command1", 0);
  controls.Click("Command1", 1);
  EXPECT_EQ(handlers.clicks, "01");
  EXPECT_EQ(controls.shown.size(), 1u);
}

TEST(BackEndTest, AFailedLoadReturnsFalseAndNothingFollows) {
  forms::MemoryControls controls(kForm);
  Handlers handlers;
  handlers.fail_load = true;
  EXPECT_FALSE(controls.Load(handlers));
  EXPECT_EQ(controls.shown.size(), 1u);
  controls.Click("Command1", 0);
  EXPECT_EQ(handlers.clicks, "");
}

TEST(BackEndTest, AReporterReplacesTheStandardReport) {
  forms::MemoryControls controls(kForm);
  Handlers handlers;
  int reported = 0;
  controls.SetReporter([&](const forms::ErrorReport&) { ++reported; });
  ASSERT_TRUE(controls.Load(handlers));
  controls.Click("Command1", 1);
  controls.Click("Command1", 1);
  EXPECT_EQ(reported, 1);
  EXPECT_TRUE(controls.shown.empty());
  EXPECT_EQ(handlers.clicks, "1");
}

// An error's text is UTF-8: what is not well-formed in it is shown as U+FFFD,
// each longest ill-formed part once.
TEST(BackEndTest, TheReportReadsTheErrorsTextStrictly) {
  const std::runtime_error error("\xD0\x9E\xD0k \xC0\xAF \xED\xA0\x80 \xF0\x9F\x8D\xBE");
  EXPECT_TRUE(forms::ReportFor(kForm, error).message ==
              u"Грешка при изпълнение:\n\nО\uFFFDk \uFFFD\uFFFD \uFFFD\uFFFD\uFFFD \U0001F37E");
  EXPECT_EQ(forms::EncodeUtf8(u"Ок \U0001F37E \xD800"), "Ок \xF0\x9F\x8D\xBE \xEF\xBF\xBD");
}

}  // namespace
