// What is of Qt alone in MainForm's window (the rest is the conformance
// suite's): the window's flags, font and place, the panel texts as stored and
// shown, and scrolling the statement.
#include <gtest/gtest.h>

#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>
#include <vector>

#include "app/icon/bottles.xpm"
#include "forms/cp1251.h"
#include "tests/qt/qt_fixture.h"
#include "window/panel_texts.h"

namespace {

using qt_test::Game;
using qt_test::Utf8;

TEST(QtLayoutTest, TheWindowItself) {
  Game g;
  EXPECT_EQ(g.window.minimumSize(), g.window.maximumSize());  // not resizable
  const Qt::WindowFlags flags = g.window.windowFlags();
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  const QString title = g.window.windowTitle();
  EXPECT_TRUE(title.startsWith(QLatin1String("http://"))) << Utf8(title);
  EXPECT_TRUE(title.endsWith(QString::fromUtf8(".org   Философия - Логика"))) << Utf8(title);

  const QFont font = g.W("Label1", 0)->font();
  EXPECT_EQ(font.family(), QLatin1String("Times New Roman"));
  EXPECT_EQ(font.pointSize(), 12);
  EXPECT_EQ(font.weight(), QFont::Normal);
  EXPECT_FALSE(font.italic() || font.underline() || font.strikeOut());
  const QFontMetrics metrics(font);
  for (QChar ch : QString::fromUtf8("ЖжЩщЪъЮюЯя")) EXPECT_TRUE(metrics.inFont(ch));

  const QPixmap icon(bottles_xpm);
  EXPECT_EQ(icon.size(), QSize(32, 32));
  EXPECT_TRUE(icon.hasAlphaChannel());
}

// The controls are made while the application's font is the window's (see
// FormWindow); Qt's own windows, the error box and the menus, keep theirs.
TEST(QtLayoutTest, TheApplicationKeepsItsFont) {
  const QFont before = QApplication::font();
  Game g;
  EXPECT_EQ(QApplication::font(), before);
  EXPECT_EQ(g.W("Text2", 0)->font().family(), QLatin1String("Times New Roman"));
}

TEST(QtLayoutTest, TheWindowOpensCentred) {
  forms::qt::FormWindow window(MainForm::Description());
  window.ShowCentred();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const QPoint offset = window.frameGeometry().center() - window.screen()->availableGeometry().center();
  EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
}

QByteArray SourceFile(const char* path) {
  QFile file(QStringLiteral(BOTTLES_SOURCE_DIR "/") + QLatin1String(path));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
  return file.readAll();
}

TEST(QtPanelTest, TheTextsByteForByte) {
  const QByteArray statement = SourceFile("window/statement.txt");
  const QByteArray quotation = SourceFile("window/quotation.txt");
  EXPECT_EQ(statement.size(), 1103);
  EXPECT_EQ(quotation.size(), 118);
  EXPECT_EQ(statement, QByteArray(kStatementText));
  EXPECT_EQ(quotation, QByteArray(kQuotationText));
  EXPECT_EQ(statement.count("\r\n"), 10);
  EXPECT_EQ(statement.count('\n'), 10);
  EXPECT_EQ(quotation.count("\r\n"), 3);
  EXPECT_EQ(quotation.count(" \r\n"), 3);
  EXPECT_TRUE(statement.endsWith("\r\n"));
  // Windows-1251: the first word, "Трима", is these bytes.
  EXPECT_TRUE(statement.startsWith("\xD2\xF0\xE8\xEC\xE0 "));

  Game g;
  EXPECT_EQ(g.window.Text("Text1", 0).Get(), statement.toStdString());
  EXPECT_EQ(g.window.Text("Text1", 1).Get(), quotation.toStdString());
  const QString shown = g.As<QPlainTextEdit>("Text1", 0)->toPlainText();
  EXPECT_TRUE(shown.startsWith(QString::fromUtf8("Трима приятели организират купон.")));
  EXPECT_EQ(shown.count(QLatin1Char('\n')), 10);
  EXPECT_FALSE(shown.contains(QLatin1Char('\r')));
}

TEST(QtPanelTest, TheStatementScrollsToItsLastLine) {
  Game g;
  auto* panel = g.As<QPlainTextEdit>("Text1", 0);
  EXPECT_TRUE(panel->isReadOnly());
  QScrollBar* bar = panel->verticalScrollBar();
  EXPECT_TRUE(bar->isVisible());
  ASSERT_GT(bar->maximum(), 0);
  bar->setValue(bar->maximum());
  const QTextBlock bottom = panel->cursorForPosition(QPoint(5, panel->viewport()->height() - 5)).block();
  EXPECT_GE(bottom.blockNumber(), 9);
  const QTextBlock last = panel->document()->findBlockByNumber(9);
  EXPECT_TRUE(last.text().startsWith(QString::fromUtf8("С всяка от 7-те")));
}

TEST(QtKeyboardTest, TheStatementAndThePoolsScrollWithKeys) {
  Game g;
  g.window.activateWindow();
  auto* panel = g.As<QPlainTextEdit>("Text1", 0);
  panel->setFocus();
  QTest::keyClick(panel, Qt::Key_PageDown);
  EXPECT_GT(panel->verticalScrollBar()->value(), 0);
  const int paged = panel->verticalScrollBar()->value();
  QTest::keyClick(panel, Qt::Key_Up);
  EXPECT_LT(panel->verticalScrollBar()->value(), paged);

  for (int i = 0; i < 7; ++i) g.Press(0);
  auto* pool = g.As<QListWidget>("List1", 1);
  pool->setFocus();
  QTest::keyClick(pool, Qt::Key_End);
  EXPECT_GT(pool->verticalScrollBar()->value(), 0);
  EXPECT_TRUE(pool->viewport()->rect().contains(pool->visualItemRect(pool->item(20))));
}

}  // namespace
