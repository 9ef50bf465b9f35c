// What a screen reader is told of MainForm's controls through Qt's own
// interfaces, beside the names and roles of the conformance suite: reading
// but no editing, the focus on one control alone, the tree of the window.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QTest>

#include "tests/qt/qt_fixture.h"

namespace {

QAccessibleInterface* Accessible(qt_test::Game& g, const char* name, int index) {
  return QAccessible::queryAccessibleInterface(g.W(name, index));
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
  g.W("Text1", 0)->setFocus(Qt::TabFocusReason);
  ASSERT_EQ(QApplication::focusWidget(), g.W("Text1", 0));
  for (const auto& c : MainForm::Description().controls) {
    QAccessibleInterface* a = Accessible(g, c.name, c.index);
    const std::string what = std::string(c.name) + "(" + std::to_string(c.index) + ")";
    EXPECT_EQ(a->editableTextInterface(), nullptr) << what;
    EXPECT_EQ(a->state().focused, g.W(c.name, c.index)->hasFocus()) << what;
    for (int i = 0; i < a->childCount(); ++i) EXPECT_FALSE(a->child(i)->state().focused) << what << " part " << i;
  }
  EXPECT_TRUE(Accessible(g, "Text1", 0)->state().focused);
  // A pool with the focus, its keys pressed too: the pool alone, none of
  // its entries.
  g.W("List1", 1)->setFocus(Qt::TabFocusReason);
  QTest::keyClick(g.W("List1", 1), Qt::Key_Down);
  QAccessibleInterface* pool = Accessible(g, "List1", 1);
  EXPECT_TRUE(pool->state().focused);
  ASSERT_GT(pool->childCount(), 0);
  for (int i = 0; i < pool->childCount(); ++i) EXPECT_FALSE(pool->child(i)->state().focused) << "entry " << i;
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
