// The whole games of tests/scenarios/games.txt played on the in-memory
// controls, through the same frame of events a window uses, and that frame's
// end after an error.
#include <gtest/gtest.h>

#include <optional>

#include "forms/memory_controls.h"
#include "tests/scenarios/suite.h"
#include "window/main_form.h"

namespace {

class MemoryDriver : public scenarios::Driver {
 public:
  MemoryDriver() : form(MainForm::Description()), main(form, form) { EXPECT_TRUE(form.Load(main)); }

  void Click(const std::string& array, int index) override { form.Click(array, index); }
  int PoolCount(int kind) override { return form.List("List1", kind).Count(); }
  std::string Cell(int cell) override { return form.Get<board::MemoryText>("Text2", cell).text; }
  std::string Summary(int table) override { return form.Get<board::MemoryCaption>("Label3", table).caption; }
  bool Enabled(int button) override { return form.Switch("Command1", button).Enabled(); }
  bool Selected(int cell) override { return form.Option("Option1", cell).Value(); }
  int SelectedCell() override { return main.Board().SelectedCell; }
  bool Reported() override { return !form.shown.empty(); }

  forms::MemoryControls form;
  MainForm main;
};

TEST(ScenarioFileTest, HoldsTheGames) {
  const std::vector<scenarios::Game> games = scenarios::Games();
  ASSERT_GE(games.size(), 6u);
  EXPECT_EQ(games[1].name, "worked_example");
  EXPECT_EQ(scenarios::Words(R"(expect Label3 1 " = 1 / 0.5")"),
            (std::vector<std::string>{"expect", "Label3", "1", " = 1 / 0.5"}));
}

// MainForm's end after an error: the report is the desktop's, and no event
// reaches the handlers afterwards.
TEST(MainFormErrorTest, AnErrorEndsTheFormAndLaterClicksAreNotHandled) {
  MemoryDriver driver;
  driver.Click("Option1", 4);
  driver.form.Get<board::MemoryText>("Text2", 4).text = "40000";
  driver.Click("Command1", 3);
  ASSERT_EQ(driver.form.shown.size(), 1u);
  EXPECT_EQ(driver.form.shown[0].title, u"Философия - Логика");
  EXPECT_EQ(driver.form.shown[0].message.rfind(u"Грешка при изпълнение 6:\n\n", 0), 0u);
  EXPECT_TRUE(driver.form.Ended());
  driver.Click("Command1", 2);  // "Чисти" would refill the pools
  EXPECT_EQ(driver.PoolCount(1), 6);
}

}  // namespace

std::unique_ptr<scenarios::Driver> scenarios::MakeDriver() { return std::make_unique<MemoryDriver>(); }
