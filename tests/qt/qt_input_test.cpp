// What the user expects of each control on Qt: a click anywhere in a
// selector's box selects it, Enter presses the focused button and nothing
// else, the focus shows on every control, and the toolkit's menus are
// Bulgarian.
#include <gtest/gtest.h>

#include <QMenu>
#include <QPlainTextEdit>
#include <QTranslator>
#include <vector>

#include "tests/focusable.h"
#include "tests/qt/qt_fixture.h"
#include "tests/shown.h"

namespace {

using qt_test::Game;

void Activate(Game& g) {
  g.window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&g.window));
}

TEST(QtInputTest, AClickAtTheRightEdgeOfASelectorsBoxSelectsIt) {
  Game g;
  for (int c : {1, 0, 2, 4, 3, 5, 7, 6, 8}) {
    QWidget* w = g.W("Option1", c);
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(w->width() - 1, w->height() / 2));
    EXPECT_EQ(g.SelectedCell(), c);
    EXPECT_TRUE(g.As<QRadioButton>("Option1", c)->isChecked()) << c;
  }
}

TEST(QtInputTest, EnterAndTheKeypadsEnterPressTheFocusedButtonOnce) {
  for (int b = 0; b < 5; ++b) {
    Game clicked;
    model::ReadyFor(clicked, b);
    const model::Shown before = model::ShownOf(clicked);
    clicked.Press(b);
    const model::Shown once = model::ShownOf(clicked);
    ASSERT_NE(once, before) << "button " << b;
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_Return, Qt::NoModifier},
                                         std::pair{Qt::Key_Enter, Qt::KeypadModifier}}) {
      Game g;
      Activate(g);
      model::ReadyFor(g, b);
      QWidget* button = g.W("Command1", b);
      button->setFocus();
      QTest::keyClick(button, key, modifiers);
      EXPECT_EQ(model::ShownOf(g), once) << "button " << b << ", key " << key;
    }
  }
}

TEST(QtInputTest, EnterOnAnythingButAButtonChangesNothing) {
  Game g;
  Activate(g);
  g.Press(0);
  const model::Shown before = model::ShownOf(g);
  const QString statement = g.As<QPlainTextEdit>("Text1", 0)->toPlainText();
  for (const auto& c : MainForm::Description().controls) {
    if (!forms::TakesFocus(c.kind) || !c.visible || c.kind == forms::ControlKind::kButton) continue;
    QWidget* w = g.W(c.name, c.index);
    w->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), w) << c.name << c.index;
    QTest::keyClick(w, Qt::Key_Return);
    QTest::keyClick(w, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(model::ShownOf(g), before) << c.name << "(" << c.index << ")";
  }
  EXPECT_EQ(g.As<QPlainTextEdit>("Text1", 0)->toPlainText(), statement);
}

// The pixels of the window inside a control's box, as shown.
QImage Shot(Game& g, QWidget* w) {
  return g.window.grab(QRect(w->mapTo(&g.window, QPoint(0, 0)), w->size())).toImage();
}
// Pixels that changed from one shot to the other by more than a faint shade.
int Changed(const QImage& a, const QImage& b) {
  int changed = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QColor p = a.pixelColor(x, y);
      const QColor q = b.pixelColor(x, y);
      changed += std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) + std::abs(p.blue() - q.blue()) >= 192;
    }
  }
  return changed;
}

// Every control that takes the focus, with full and with empty pools, with
// a selector selected and not: the focus marks the control's box all round
// (at least its perimeter in clearly changed pixels), whatever its colour.
TEST(QtInputTest, TheFocusShowsOnEveryControl) {
  Game g;
  Activate(g);
  tests::ForEachFocusable(g, [&g](const forms::Control& c, QWidget* w, QWidget* elsewhere, int round) {
    elsewhere->setFocus();
    const QImage without = Shot(g, w);
    w->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), w) << c.name << c.index;
    const QImage with = Shot(g, w);
    EXPECT_GE(Changed(without, with), 2 * (w->width() + w->height())) << c.name << "(" << c.index << "), round " << round;
  });
}

// The right-click menu of a cell and of the statement panel, opened by a
// real right click on the window. Qt's translation is loaded by the first
// menu, not at start-up, where nothing shows Qt's texts.
TEST(QtInputTest, TheContextMenusAreBulgarian) {
  Game g;
  Activate(g);
  const auto translation = [] { return qApp->findChild<QTranslator*>(QStringLiteral("forms.qt.bulgarian")); };
  EXPECT_EQ(translation(), nullptr);
  for (const auto& [name, index] : {std::pair{"Text2", 4}, std::pair{"Text1", 0}}) {
    QWidget* w = g.W(name, index);
    const QPoint at = w->mapTo(&g.window, w->rect().center());
    QTest::mouseClick(g.window.windowHandle(), Qt::RightButton, Qt::NoModifier, at);
    QTRY_VERIFY(qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QStringList entries;
    for (QAction* action : menu->actions()) {
      if (!action->isSeparator()) entries << action->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&'));
    }
    EXPECT_TRUE(entries.contains(QString::fromUtf8("Копиране"))) << qt_test::Utf8(entries.join(QLatin1Char('|')));
    EXPECT_TRUE(entries.contains(QString::fromUtf8("Избиране на всичко"))) << qt_test::Utf8(entries.join(QLatin1Char('|')));
    for (const QString& entry : entries) {
      for (QChar ch : entry) EXPECT_FALSE(ch.isLetter() && ch.unicode() < 0x80) << qt_test::Utf8(entry);
    }
    menu->close();
    EXPECT_NE(translation(), nullptr);
  }
}

}  // namespace
