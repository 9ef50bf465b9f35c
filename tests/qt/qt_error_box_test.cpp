// The standard report of an error that leaves a handler: a real error box
// with the error's text, then the end of the program with a failure code.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "forms/qt/qt_form.h"
#include "window/main_form.h"

namespace {

// Plays until the overflow, in the event loop as the program does; the box
// is read and closed by a timer, as a user would read it and press OK. No box
// within 10 s ends the program with code 4.
[[noreturn]] void PlayUntilTheOverflow() {
  forms::qt::FormWindow window(MainForm::Description());
  MainForm form(window, window);
  if (!window.Load(form)) std::exit(3);
  window.show();
  qobject_cast<QLineEdit*>(window.Widget("Text2", 0))->setText(QStringLiteral("32767"));
  QTimer::singleShot(0, [&] {
    qobject_cast<QAbstractButton*>(window.Widget("Option1", 0))->click();
    qobject_cast<QAbstractButton*>(window.Widget("Command1", 3))->click();
  });
  QTimer close_box;
  QElapsedTimer waited;
  waited.start();
  QObject::connect(&close_box, &QTimer::timeout, [&waited] {
    if (waited.hasExpired(10000)) {
      std::fputs("no error box within 10 s\n", stderr);
      std::_Exit(4);
    }
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      QString buttons;
      for (QAbstractButton* button : box->buttons()) buttons += QLatin1Char('[') + button->text() + QLatin1Char(']');
      std::fprintf(stderr, "box: %s | %s | icon %d | %s\n", box->windowTitle().toStdString().c_str(),
                   box->text().toStdString().c_str(), static_cast<int>(box->icon()), buttons.toStdString().c_str());
      box->accept();
    }
  });
  close_box.start(20);
  std::exit(QApplication::exec());
}

TEST(QtErrorBoxDeathTest, AnOverflowIsShownThenTheProgramEnds) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(PlayUntilTheOverflow(), ::testing::ExitedWithCode(1),
              "box: Философия - Логика \\| Грешка при изпълнение 6:.*Препълване.* \\| icon 3 \\| \\[Добре\\]\n");
}

}  // namespace
