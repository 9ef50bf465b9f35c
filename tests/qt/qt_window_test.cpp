// MainForm on real Qt widgets: games played with the mouse and the
// keyboard, the layout against its description, the panel texts, the
// separator and the error report.
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
#include "tests/focusable.h"
#include "window/panel_texts.h"

namespace {

using qt_test::Game;
using qt_test::Utf8;

std::vector<int> Pools(Game& g) { return {g.PoolCount(0), g.PoolCount(1), g.PoolCount(2)}; }
std::vector<std::string> Cells(Game& g) {
  std::vector<std::string> out;
  for (int c = 0; c < 9; ++c) out.push_back(g.Cell(c));
  return out;
}
std::vector<std::string> Summaries(Game& g) { return {g.Summary(0), g.Summary(1), g.Summary(2)}; }
int CheckedSelectors(Game& g) {
  int n = 0;
  for (int c = 0; c < 9; ++c) n += g.As<QRadioButton>("Option1", c)->isChecked();
  return n;
}

void ExpectClearedBoard(Game& g) {
  EXPECT_EQ(Pools(g), (std::vector<int>{7, 7, 7}));
  EXPECT_EQ(Cells(g), std::vector<std::string>(9, ""));
  EXPECT_EQ(CheckedSelectors(g), 0);
  EXPECT_EQ(g.SelectedCell(), -1);
  EXPECT_TRUE(g.Enabled(0));
  EXPECT_TRUE(g.Enabled(1));
}

// Two quick presses through the window, as the platform delivers them: the
// second comes with a double click. Returns whether the control saw it.
bool DoubleClick(Game& g, const char* name, int index) {
  struct Seen : QObject {
    bool double_click = false;
    bool eventFilter(QObject*, QEvent* event) override {
      double_click |= event->type() == QEvent::MouseButtonDblClick;
      return false;
    }
  } seen;
  QWidget* w = g.W(name, index);
  w->installEventFilter(&seen);
  QTest::mouseDClick(g.window.windowHandle(), Qt::LeftButton, {}, w->mapTo(&g.window, w->rect().center()));
  w->removeEventFilter(&seen);
  return seen.double_click;
}

TEST(QtGameTest, EveryPressOfAQuickDoubleClickCounts) {
  Game g;
  ASSERT_TRUE(DoubleClick(g, "Command1", 0));
  EXPECT_EQ(Pools(g), (std::vector<int>{5, 11, 5}));
  DoubleClick(g, "Command1", 1);
  EXPECT_EQ(Pools(g), (std::vector<int>{7, 7, 7}));
  // A selector double-clicked is selected, once, and nothing else happens.
  ASSERT_TRUE(DoubleClick(g, "Option1", 4));
  EXPECT_EQ(g.SelectedCell(), 4);
  EXPECT_EQ(CheckedSelectors(g), 1);
  EXPECT_EQ(g.handlers.Clicks("Option1", 4), 1);
  EXPECT_EQ(Pools(g), (std::vector<int>{7, 7, 7}));
  EXPECT_TRUE(g.Enabled(0));
  DoubleClick(g, "Command1", 3);
  EXPECT_EQ(g.Cell(4), "2");
  EXPECT_EQ(Pools(g), (std::vector<int>{7, 5, 7}));
  DoubleClick(g, "Command1", 4);
  EXPECT_EQ(g.Cell(4), "0");
  EXPECT_EQ(Pools(g), (std::vector<int>{7, 7, 7}));
  DoubleClick(g, "Command1", 2);
  ExpectClearedBoard(g);
  for (int button = 0; button < 5; ++button) EXPECT_EQ(g.handlers.Clicks("Command1", button), 2) << button;
}

TEST(QtGameTest, TheCommaSeparatorOfTheUsersLocale) {
  Game g(',');
  g.Select(4);
  g.Press(3);
  EXPECT_EQ(g.Summary(1), " = 1 / 0,5");
}

// Presses Tab until the widget has the focus; false if it never gets it.
bool TabTo(QWidget* target) {
  for (int i = 0; i < 60 && QApplication::focusWidget() != target; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  return QApplication::focusWidget() == target;
}
void Key(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
void Space(QWidget* w) { QTest::keyClick(w, Qt::Key_Space); }

// The selectors are one group: Tab stops once in it, at the selected one
// (the first while none is), and the arrow keys move within it.
bool SelectWithKeys(Game& g, int cell) {
  const int from = std::max(0, g.SelectedCell());
  if (!TabTo(g.W("Option1", from))) return false;
  for (int r = from / 3; r < cell / 3; ++r) Key(Qt::Key_Down);
  for (int r = from / 3; r > cell / 3; --r) Key(Qt::Key_Up);
  for (int c = from % 3; c < cell % 3; ++c) Key(Qt::Key_Right);
  for (int c = from % 3; c > cell % 3; --c) Key(Qt::Key_Left);
  if (QApplication::focusWidget() != g.W("Option1", cell)) return false;
  Key(Qt::Key_Space);
  return true;
}

TEST(QtKeyboardTest, AWholeGameWithTabArrowsAndSpace) {
  Game g;
  g.window.activateWindow();
  g.W("Text1", 0)->setFocus();
  ASSERT_TRUE(TabTo(g.W("Command1", 0)));
  for (int i = 0; i < 7; ++i) Space(g.W("Command1", 0));
  EXPECT_EQ(Pools(g), (std::vector<int>{0, 21, 0}));
  for (int cell : {1, 7, 4}) {
    ASSERT_TRUE(SelectWithKeys(g, cell)) << "selector " << cell;
    EXPECT_EQ(g.SelectedCell(), cell);
    EXPECT_TRUE(g.As<QRadioButton>("Option1", cell)->isChecked());
    ASSERT_TRUE(TabTo(g.W("Command1", 3)));
    for (int i = 0; i < 7; ++i) Space(g.W("Command1", 3));
  }
  EXPECT_EQ(Summaries(g), std::vector<std::string>(3, " = 7 / 3.5"));
  // Once a selector is selected, an arrow key selects its neighbour.
  ASSERT_TRUE(TabTo(g.W("Option1", 4)));
  Key(Qt::Key_Right);
  EXPECT_EQ(g.SelectedCell(), 5);
  ASSERT_TRUE(TabTo(g.W("Command1", 4)));
  Space(g.W("Command1", 4));  // nothing of that kind on table 2
  EXPECT_EQ(g.Cell(5), "");
  // The pouring buttons are disabled now, so Tab passes them by.
  ASSERT_TRUE(TabTo(g.W("Command1", 2)));
  Space(g.W("Command1", 2));
  ExpectClearedBoard(g);
}

void ExpectTabCycle(Game& g, const std::vector<QWidget*>& stops) {
  stops.front()->setFocus();
  for (std::size_t i = 0; i <= stops.size(); ++i) {  // and round again
    QWidget* want = stops[i % stops.size()];
    EXPECT_EQ(QApplication::focusWidget(), want)
        << "step " << i << ": want " << Utf8(want->objectName()) << ", have "
        << Utf8(QApplication::focusWidget()->objectName());
    Key(Qt::Key_Tab);
  }
  (void)g;
}

TEST(QtKeyboardTest, TabFollowsTheTabIndex) {
  Game g;
  g.window.activateWindow();
  std::vector<QWidget*> stops = tests::ExpectedTabStops(g, 0);
  ASSERT_EQ(stops.front(), g.W("Text1", 0));
  ASSERT_EQ(stops.size(), 1u + 3u + 3u + 9u + 2u + 1u);
  ExpectTabCycle(g, stops);
  g.Select(6);
  ExpectTabCycle(g, tests::ExpectedTabStops(g, 6));
  for (const auto& c : MainForm::Description().controls) {
    if (!forms::TakesFocus(c.kind)) {
      EXPECT_EQ(g.W(c.name, c.index)->focusPolicy(), Qt::NoFocus) << c.name;
    }
  }
}

TEST(QtKeyboardTest, TheFirstFocusIsTheStatementPanel) {
  Game g;
  g.window.activateWindow();
  QApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), g.W("Text1", 0));
}

// A pixel of a control as it is drawn.
QColor PixelOf(QWidget* w, QPoint p) { return w->grab().toImage().pixelColor(p); }
QColor Rgb(forms::Colour c) {
  return QColor(static_cast<int>(c >> 16), static_cast<int>((c >> 8) & 0xFF), static_cast<int>(c & 0xFF));
}

TEST(QtLayoutTest, EveryControlWhereItsDescriptionPutsIt) {
  Game g;
  const forms::Form& form = MainForm::Description();
  const int dpi = g.window.Dpi();
  const auto px = [dpi](int twips) { return forms::TwipsToPixels(twips, dpi); };
  EXPECT_EQ(g.window.size(), QSize(px(7200), px(6360)));
  if (dpi == 96) {
    EXPECT_EQ(g.window.size(), QSize(480, 424));
  }
  for (const auto& c : form.controls) {
    QWidget* w = g.W(c.name, c.index);
    ASSERT_NE(w, nullptr) << c.name;
    const std::string what = std::string(c.name) + "(" + std::to_string(c.index) + ")";
    EXPECT_EQ(w->geometry(), QRect(px(c.left), px(c.top), px(c.width), px(c.height))) << what;
    QWidget* container = c.container ? g.W(c.container) : &g.window;
    EXPECT_EQ(w->parentWidget(), container) << what;
    EXPECT_EQ(w->isVisible(), c.visible) << what;
    if (c.back_colour == forms::kDefaultColour) continue;
    // A point of each kind of control where nothing but its background is drawn.
    QPoint spot;
    switch (c.kind) {
      case forms::ControlKind::kLabel: spot = QPoint(1, w->height() - 2); break;
      case forms::ControlKind::kButton: spot = QPoint(4, 4); break;
      case forms::ControlKind::kOptionButton: spot = QPoint(w->width() - 2, w->height() - 2); break;
      case forms::ControlKind::kFrame: spot = QPoint(w->width() / 2, w->height() - 4); break;
      default: break;
    }
    EXPECT_EQ(PixelOf(w, spot), Rgb(c.back_colour)) << what;
  }
  EXPECT_EQ(PixelOf(&g.window, QPoint(2, 40)), Rgb(form.back_colour));
}

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

TEST(QtLayoutTest, TheCaptionsAreCyrillic) {
  Game g;
  EXPECT_EQ(Utf8(g.As<QLabel>("Label2", 0)->text()), "Пълна");
  EXPECT_EQ(Utf8(g.As<QLabel>("Label2", 5)->text()), "3-та");
  EXPECT_EQ(Utf8(g.As<QAbstractButton>("Command1", 2)->text()), "Чисти");
  EXPECT_EQ(Utf8(g.As<QAbstractButton>("Option1", 7)->text()), "3-0.5");
  EXPECT_EQ(Utf8(g.As<QGroupBox>("Frame2", -1)->title()), "Маси-бутилки");
}

TEST(QtLayoutTest, APoolThatOverflowsScrolls) {
  Game g;
  for (int i = 0; i < 7; ++i) g.Press(0);
  auto* pool = g.As<QListWidget>("List1", 1);
  ASSERT_EQ(pool->count(), 21);
  QScrollBar* bar = pool->verticalScrollBar();
  EXPECT_TRUE(bar->isVisible());
  EXPECT_GT(bar->maximum(), 0);
  pool->scrollToBottom();
  EXPECT_TRUE(pool->viewport()->rect().contains(pool->visualItemRect(pool->item(20))));
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

TEST(QtPanelTest, TheQuotationIsNeverShown) {
  Game g;
  QWidget* quotation = g.W("Text1", 1);
  EXPECT_FALSE(quotation->isVisible());
  g.window.activateWindow();
  g.W("Text1", 0)->setFocus();
  for (int i = 0; i < 40; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), quotation);
  }
  g.Press(0);
  g.Select(0);
  g.Press(3);
  g.Press(2);
  EXPECT_FALSE(quotation->isVisible());
}

TEST(QtPanelTest, TheCellsAreReadOnly) {
  Game g;
  auto* cell = g.As<QLineEdit>("Text2", 0);
  EXPECT_TRUE(cell->isReadOnly());
  cell->setFocus();
  QTest::keyClicks(cell, "5");
  EXPECT_EQ(g.Cell(0), "");
}

TEST(QtErrorTest, AnErrorLeavingAHandlerIsReportedAndEndsTheGame) {
  Game g;
  g.As<QLineEdit>("Text2", 0)->setText(QStringLiteral("40000"));  // never written by the game
  g.Select(0);
  g.Press(3);
  ASSERT_TRUE(g.report.has_value());
  const std::string message = Utf8(QString::fromStdU16String(g.report->message));
  EXPECT_NE(message.find("6"), std::string::npos) << message;
  EXPECT_NE(message.find("Препълване"), std::string::npos) << message;
  EXPECT_EQ(Utf8(QString::fromStdU16String(g.report->title)), "Философия - Логика");
  EXPECT_EQ(g.Summary(0), "");
  // The program has ended: no further event reaches a handler.
  g.Press(2);
  EXPECT_EQ(g.Cell(0), "40001");
}

}  // namespace
