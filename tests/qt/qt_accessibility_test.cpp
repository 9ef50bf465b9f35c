// What a screen reader is told about MainForm's controls: a name made from
// the window's own texts, and a role, for every control that can take the
// focus and for the summaries.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>

#include "tests/qt/qt_fixture.h"

namespace {

struct Expected {
  const char* name;
  int index;
  const char* spoken;
  QAccessible::Role role;
};

QAccessibleInterface* Accessible(qt_test::Game& g, const char* name, int index) {
  return QAccessible::queryAccessibleInterface(g.W(name, index));
}

TEST(QtAccessibilityTest, EveryControlHasANameAndARole) {
  qt_test::Game g;
  const Expected expected[] = {
      {"Text1", 0, "Логика - по 7 бутилки на 3 маси", QAccessible::EditableText},
      {"List1", 0, "Пълна", QAccessible::List},
      {"List1", 1, "Полу", QAccessible::List},
      {"List1", 2, "Празна", QAccessible::List},
      {"Command1", 0, "1 цяла = 2 полу", QAccessible::Button},
      {"Command1", 1, "2 полу = 1 цяла", QAccessible::Button},
      {"Command1", 2, "Чисти", QAccessible::Button},
      {"Text2", 0, "1-ва Пълна", QAccessible::EditableText},
      {"Text2", 4, "2-ра Полу", QAccessible::EditableText},
      {"Text2", 5, "2-ра Празна", QAccessible::EditableText},
      {"Text2", 7, "3-та Полу", QAccessible::EditableText},
      {"Command1", 3, "Постави бутилка", QAccessible::Button},
      {"Command1", 4, "Върни бутилка", QAccessible::Button},
      {"Option1", 0, "1-1", QAccessible::RadioButton},
      {"Option1", 4, "2-0.5", QAccessible::RadioButton},
      {"Option1", 8, "3-0", QAccessible::RadioButton},
      {"Label3", 0, "1-ва", QAccessible::StaticText},
      {"Label3", 2, "3-та", QAccessible::StaticText},
  };
  for (const auto& e : expected) {
    QAccessibleInterface* a = Accessible(g, e.name, e.index);
    ASSERT_NE(a, nullptr) << e.name;
    EXPECT_EQ(a->text(QAccessible::Name).toStdString(), e.spoken) << e.name << "(" << e.index << ")";
    EXPECT_EQ(a->role(), e.role) << e.name << "(" << e.index << ")";
  }
}

TEST(QtAccessibilityTest, EveryFocusableControlIsNamed) {
  qt_test::Game g;
  for (const auto& c : MainForm::Description().controls) {
    if (!forms::TakesFocus(c.kind)) continue;
    QAccessibleInterface* a = Accessible(g, c.name, c.index);
    ASSERT_NE(a, nullptr) << c.name;
    EXPECT_FALSE(a->text(QAccessible::Name).trimmed().isEmpty()) << c.name << "(" << c.index << ")";
    EXPECT_FALSE(a->state().invisible && c.visible) << c.name << "(" << c.index << ")";
  }
}

TEST(QtAccessibilityTest, ASummarySpeaksItsTableAndItsText) {
  qt_test::Game g;
  g.Select(4);
  g.Press(3);
  EXPECT_EQ(Accessible(g, "Label3", 1)->text(QAccessible::Name).toStdString(), "2-ра = 1 / 0.5");
  EXPECT_EQ(Accessible(g, "Label3", 0)->text(QAccessible::Name).toStdString(), "1-ва");
  // A cell's value is what it shows.
  EXPECT_EQ(Accessible(g, "Text2", 4)->text(QAccessible::Value).toStdString(), "1");
}

// The user can never type into the cells or the panels: a screen reader is
// told they are read-only, not editable, and still reads their text.
TEST(QtAccessibilityTest, TheCellsAndThePanelsAreReadOnly) {
  qt_test::Game g;
  g.Select(4);
  g.Press(3);
  for (const auto& c : MainForm::Description().controls) {
    if (c.kind != forms::ControlKind::kTextBox) continue;
    QAccessibleInterface* a = Accessible(g, c.name, c.index);
    ASSERT_NE(a, nullptr) << c.name;
    EXPECT_TRUE(a->state().readOnly) << c.name << "(" << c.index << ")";
    EXPECT_FALSE(a->state().editable) << c.name << "(" << c.index << ")";
    ASSERT_NE(a->textInterface(), nullptr) << c.name << "(" << c.index << ")";
  }
  QAccessibleTextInterface* cell = Accessible(g, "Text2", 4)->textInterface();
  EXPECT_EQ(cell->characterCount(), 1);
  EXPECT_EQ(cell->text(0, 1).toStdString(), "1");
}

// Nor can a screen reader type into them; and only the control that has
// the focus says so, a pool's current entry among the rest.
TEST(QtAccessibilityTest, NoTextIsEditableAndOnlyTheFocusedControlIsFocused) {
  qt_test::Game g;
  g.window.activateWindow();
  g.W("List1", 1)->setFocus(Qt::TabFocusReason);
  g.W("Text2", 4)->setFocus(Qt::TabFocusReason);
  ASSERT_EQ(QApplication::focusWidget(), g.W("Text2", 4));
  for (const auto& c : MainForm::Description().controls) {
    QAccessibleInterface* a = Accessible(g, c.name, c.index);
    const std::string what = std::string(c.name) + "(" + std::to_string(c.index) + ")";
    EXPECT_EQ(a->editableTextInterface(), nullptr) << what;
    EXPECT_EQ(a->state().focused, g.W(c.name, c.index)->hasFocus()) << what;
    for (int i = 0; i < a->childCount(); ++i) EXPECT_FALSE(a->child(i)->state().focused) << what << " entry " << i;
  }
  EXPECT_TRUE(Accessible(g, "Text2", 4)->state().focused);
}

TEST(QtAccessibilityTest, TheControlsAreInTheWindowsTree) {
  qt_test::Game g;
  QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&g.window);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->role(), QAccessible::Window);
  EXPECT_TRUE(window->text(QAccessible::Name).endsWith(QString::fromUtf8("Философия - Логика")));
  // Every selector is reached through its frame, which is a child of the window.
  QAccessibleInterface* selector = Accessible(g, "Option1", 3);
  QAccessibleInterface* frame = selector->parent();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->text(QAccessible::Name).toStdString(), "Бутилки - пълни, празни");
  EXPECT_GE(frame->indexOfChild(selector), 0);
  EXPECT_GE(window->indexOfChild(frame), 0);
}

}  // namespace
