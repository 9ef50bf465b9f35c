// Qt's own texts in the window are Bulgarian whatever the locale: the text
// boxes' menus.
#include <gtest/gtest.h>

#include <QMenu>
#include <QPlainTextEdit>
#include <QTranslator>

#include "tests/qt/qt_fixture.h"

namespace {

using qt_test::Game;

void Activate(Game& g) {
  g.window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&g.window));
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
    EXPECT_TRUE(entries.contains(QString::fromUtf8("Избиране на всичко")))
        << qt_test::Utf8(entries.join(QLatin1Char('|')));
    for (const QString& entry : entries) {
      for (QChar ch : entry) EXPECT_FALSE(ch.isLetter() && ch.unicode() < 0x80) << qt_test::Utf8(entry);
    }
    menu->close();
    EXPECT_NE(translation(), nullptr);
  }
}

}  // namespace
