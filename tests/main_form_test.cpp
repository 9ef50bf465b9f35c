// MainForm without a window: its three handlers driving the board over
// in-memory controls. Its description is checked when it is compiled.
#include "window/main_form.h"

#include <gtest/gtest.h>

#include <string>

#include "forms/cp1251.h"
#include "forms/memory_controls.h"

namespace {

using board::MemoryCaption;
using board::MemoryList;
using board::MemorySwitch;
using board::MemoryText;

const forms::Control& Row(const char* name, int index) {
  const forms::Form& form = MainForm::Description();
  const int row = forms::FindControl(form, name, index);
  EXPECT_GE(row, 0) << name << "(" << index << ")";
  return form.controls[static_cast<std::size_t>(row)];
}

class MainFormTest : public ::testing::Test {
 protected:
  MainFormTest() : controls(MainForm::Description()), form(controls, controls) { form.Form_Load(); }

  int Pool(int k) { return controls.Get<MemoryList>("List1", k).Count(); }
  std::string Cell(int c) { return controls.Get<MemoryText>("Text2", c).text; }
  std::string Summary(int t) { return controls.Get<MemoryCaption>("Label3", t).caption; }
  bool Pouring(int b) { return controls.Get<MemorySwitch>("Command1", b).enabled; }
  std::string State() {
    std::string s;
    for (int k = 0; k < 3; ++k) s += std::to_string(Pool(k)) + " ";
    for (int c = 0; c < 9; ++c) s += "[" + Cell(c) + "]";
    for (int t = 0; t < 3; ++t) s += "{" + Summary(t) + "}";
    return s + (Pouring(0) ? " pour" : "") + (Pouring(1) ? " pour" : "") + " sel " +
           std::to_string(form.Board().SelectedCell);
  }

  forms::MemoryControls controls;
  MainForm form;
};

TEST_F(MainFormTest, LoadingClearsTheBoard) { EXPECT_EQ(State(), "7 7 7 [][][][][][][][][]{}{}{} pour pour sel -1"); }

TEST_F(MainFormTest, TheButtonsDispatchByIndex) {
  form.Command1_Click(0);
  EXPECT_EQ(State(), "6 9 6 [][][][][][][][][]{}{}{} pour pour sel -1");
  form.Command1_Click(1);
  EXPECT_EQ(State(), "7 7 7 [][][][][][][][][]{}{}{} pour pour sel -1");
  form.Option1_Click(3);
  form.Command1_Click(3);
  EXPECT_EQ(State(), "6 7 7 [][][][1][][][][][]{}{ = 1 / 1}{} sel 3");
  form.Command1_Click(4);
  EXPECT_EQ(State(), "7 7 7 [][][][0][][][][][]{}{ = 0 / 0}{} sel 3");
  form.Command1_Click(2);
  EXPECT_EQ(State(), "7 7 7 [][][][][][][][][]{}{ = 0 / 0}{} pour pour sel -1");
}

TEST_F(MainFormTest, AnyOtherIndexDoesNothing) {
  form.Option1_Click(5);
  const std::string before = State();
  for (int i : {5, 6, -1, 32767, -32768}) {
    const auto index = static_cast<std::int16_t>(i);
    form.Command1_Click(index);
    EXPECT_EQ(State(), before) << index;
  }
}

TEST_F(MainFormTest, SelectingOnlyRecordsTheIndex) {
  const std::string before = State();
  form.Option1_Click(8);
  EXPECT_EQ(form.Board().SelectedCell, 8);
  form.Option1_Click(8);
  EXPECT_EQ(form.Board().SelectedCell, 8);
  EXPECT_EQ(State().substr(0, before.size() - 2), before.substr(0, before.size() - 2));
}

TEST_F(MainFormTest, ClicksReachTheHandlerOfTheirArray) {
  form.Click(Row("Option1", 7));
  EXPECT_EQ(form.Board().SelectedCell, 7);
  form.Click(Row("Command1", 0));
  EXPECT_EQ(Pool(1), 9);
  const std::string before = State();
  form.Click(Row("Label2", 0));  // no handler: nothing happens
  form.Click(Row("Frame1", -1));
  EXPECT_EQ(State(), before);
}

TEST_F(MainFormTest, AControlArrayHasNoMemberBeyondItsLast) {
  EXPECT_THROW(controls.List("List1", 3), board::NoSuchElementError);
  EXPECT_THROW(controls.Text("Label2", 0), board::NoSuchElementError);  // a label, not a text box
  EXPECT_THROW(controls.Switch("Command1", -1), board::NoSuchElementError);
}

}  // namespace

namespace {

// What a screen reader is told after each move, made by the frame from the
// form's captions: only what changed, the pools with their counts.
TEST(MainFormWordsTest, EachMoveIsToldWhatItChanged) {
  forms::MemoryControls controls(MainForm::Description());
  MainForm form(controls, controls);
  ASSERT_TRUE(controls.Load(form));
  ASSERT_EQ(controls.changes.size(), 1u);
  EXPECT_EQ(controls.changes[0].words, u"");  // the load: nobody asked
  std::set<std::string> pools;
  for (const auto& part : controls.changes[0].parts) {
    if (MainForm::Description().controls[part.row].kind == forms::ControlKind::kListBox)
      pools.insert(forms::EncodeUtf8(part.said));
  }
  EXPECT_EQ(pools, (std::set<std::string>{"Пълна: 7", "Полу: 7", "Празна: 7"}));
  const auto told = [&](const char* name, int index) {
    const std::size_t before = controls.changes.size();
    controls.Click(name, index);
    return controls.changes.size() > before ? forms::EncodeUtf8(controls.changes.back().words)
                                            : std::string("(nothing)");
  };
  EXPECT_EQ(told("Command1", 0), "Пълна: 6, Полу: 9, Празна: 6");
  EXPECT_EQ(told("Option1", 4), "(nothing)");  // the focused selector speaks for itself
  EXPECT_EQ(told("Command1", 3),
            "2-ра, Полу: 1. 2-ра = 1 / 0.5. Полу: 8. Недостъпни: 1 цяла = 2 полу, 2 полу = 1 цяла");
  EXPECT_EQ(told("Command1", 4), "2-ра, Полу: 0. 2-ра = 0 / 0. Полу: 9");
  EXPECT_EQ(told("Command1", 4), "Без промяна");  // nothing to return
  EXPECT_EQ(told("Command1", 2),
            "Всички клетки са празни. Пълна: 7, Полу: 7, Празна: 7. Достъпни: 1 цяла = 2 полу, 2 полу = 1 цяла. "
            "Бутилки - пълни, празни: няма избрана");
}

}  // namespace
