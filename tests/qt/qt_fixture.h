// A real MainForm on Qt widgets, and the user's means to play it: mouse
// clicks and keys through QTest, and what the widgets show.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <memory>
#include <string>
#include <utility>

#include "forms/qt/qt_form.h"
#include "tests/loaded_form.h"
#include "tests/model.h"

namespace qt_test {

inline std::string Utf8(const QString& s) { return s.toStdString(); }

class Game : public model::Target, public tests::LoadedForm<forms::qt::FormWindow> {
 public:
  explicit Game(std::string separator = ".") : LoadedForm(std::move(separator)) {
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
  }

  QWidget* W(const char* name, int index = -1) const { return window.Widget(name, index); }
  template <class T>
  T* As(const char* name, int index) const {
    return qobject_cast<T*>(W(name, index));
  }

  // A click in the middle of the control, as the user makes it.
  void Click(const char* name, int index) {
    QWidget* w = W(name, index);
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
  }

  // model::Target
  void Select(int cell) override { Click("Option1", cell); }
  void Press(int button) override { Click("Command1", button); }
  bool Enabled(int button) override { return W("Command1", button)->isEnabled(); }
  bool Checked(int cell) const { return As<QRadioButton>("Option1", cell)->isChecked(); }
  int PoolCount(int kind) override {
    auto* list = As<QListWidget>("List1", kind);
    for (int i = 0; i < list->count(); ++i) {
      if (list->item(i)->text() != QLatin1String("1")) return -1;
    }
    return list->count();
  }
  std::string Cell(int cell) override { return Utf8(As<QLineEdit>("Text2", cell)->text()); }
  std::string Summary(int table) override { return Utf8(As<QLabel>("Label3", table)->text()); }
  int SelectedCell() override { return form.Board().SelectedCell; }
};

}  // namespace qt_test
