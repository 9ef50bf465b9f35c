// The conformance cases on real Qt widgets: the driver is mouse and keys
// through QTest on the active window, what the widgets show, and Qt's
// accessibility interfaces.
#include <QAccessible>
#include <QGroupBox>
#include <QPlainTextEdit>

#include "tests/conformance/suite.h"
#include "tests/qt/qt_fixture.h"

namespace {

using conformance::Key;
using conformance::Role;

class QtDriver : public conformance::FixtureDriver<qt_test::Game> {
 public:
  explicit QtDriver(std::string separator) : FixtureDriver(std::move(separator)) {
    g_.window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&g_.window));
  }

  void ClickAt(const char* name, int index, int x, int y) override {
    QTest::mouseClick(g_.W(name, index), Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
  }
  // Through the window, so that Qt makes the double click itself.
  bool DoubleClick(const char* name, int index) override {
    struct Seen : QObject {
      bool double_click = false;
      bool eventFilter(QObject*, QEvent* event) override {
        double_click |= event->type() == QEvent::MouseButtonDblClick;
        return false;
      }
    } seen;
    QWidget* w = g_.W(name, index);
    w->installEventFilter(&seen);
    QTest::mouseDClick(g_.window.windowHandle(), Qt::LeftButton, {}, w->mapTo(&g_.window, w->rect().center()));
    w->removeEventFilter(&seen);
    return seen.double_click;
  }
  void Focus(const char* name, int index) override { g_.W(name, index)->setFocus(Qt::OtherFocusReason); }
  void Type(Key key) override {
    QWidget* w = QApplication::focusWidget();
    if (w == nullptr) return;
    switch (key) {
      case Key::kTab: QTest::keyClick(w, Qt::Key_Tab); break;
      case Key::kSpace: QTest::keyClick(w, Qt::Key_Space); break;
      case Key::kEnter: QTest::keyClick(w, Qt::Key_Return); break;
      case Key::kKeypadEnter: QTest::keyClick(w, Qt::Key_Enter, Qt::KeypadModifier); break;
      case Key::kEscape: QTest::keyClick(w, Qt::Key_Escape); break;
      case Key::kLeft: QTest::keyClick(w, Qt::Key_Left); break;
      case Key::kRight: QTest::keyClick(w, Qt::Key_Right); break;
      case Key::kUp: QTest::keyClick(w, Qt::Key_Up); break;
      case Key::kDown: QTest::keyClick(w, Qt::Key_Down); break;
      case Key::kPageDown: QTest::keyClick(w, Qt::Key_PageDown); break;
      case Key::kEnd: QTest::keyClick(w, Qt::Key_End); break;
      case Key::kDigit5: QTest::keyClick(w, '5'); break;
      case Key::kDelete: QTest::keyClick(w, Qt::Key_Delete); break;
    }
  }
  std::string Focused() override {
    for (const auto& c : MainForm::Description().controls) {
      if (g_.W(c.name, c.index) == QApplication::focusWidget()) return conformance::Name(c);
    }
    return "";
  }

  forms::Box PlaceOf(const char* name, int index) override {
    QWidget* w = g_.W(name, index);
    const QPoint at = w->mapTo(&g_.window, QPoint(0, 0));
    return {at.x(), at.y(), w->width(), w->height()};
  }
  int Dpi() override { return g_.window.Dpi(); }
  bool Shown(const char* name, int index) override { return g_.W(name, index)->isVisible(); }
  std::string CaptionOf(const char* name, int index) override {
    QWidget* w = g_.W(name, index);
    if (auto* label = qobject_cast<QLabel*>(w)) return qt_test::Utf8(label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return qt_test::Utf8(button->text());
    if (auto* frame = qobject_cast<QGroupBox*>(w)) return qt_test::Utf8(frame->title());
    return "";
  }
  conformance::Shot ShotOf(const char* name, int index) override {
    QWidget* w = g_.W(name, index);
    const QImage image = g_.window.grab(QRect(w->mapTo(&g_.window, QPoint(0, 0)), w->size()))
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    conformance::Shot shot{image.width(), image.height(), {}};
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) shot.pixels.push_back(image.pixel(x, y) & 0xFFFFFFu);
    }
    return shot;
  }
  bool EntryInView(int kind, int entry) override {
    auto* pool = g_.As<QListWidget>("List1", kind);
    return pool->viewport()->rect().contains(pool->visualItemRect(pool->item(entry)));
  }
  std::u16string PanelText(int index) override {
    return g_.As<QPlainTextEdit>("Text1", index)->toPlainText().toStdU16String();
  }

  std::string SpokenName(const char* name, int index) override {
    return qt_test::Utf8(Accessible(name, index)->text(QAccessible::Name));
  }
  Role SpokenRole(const char* name, int index) override {
    switch (Accessible(name, index)->role()) {
      case QAccessible::EditableText: return Role::kText;
      case QAccessible::List: return Role::kList;
      case QAccessible::Button: return Role::kButton;
      case QAccessible::RadioButton: return Role::kRadioButton;
      case QAccessible::StaticText: return Role::kStaticText;
      case QAccessible::Grouping: return Role::kGrouping;
      default: return Role::kOther;
    }
  }
  bool SpokenReadOnly(const char* name, int index) override { return Accessible(name, index)->state().readOnly; }

  void DarkDesktop(bool dark) override {
    if (dark) {
      desktop_ = QApplication::palette();
      QPalette p(QColor(53, 53, 53), QColor(53, 53, 53));
      for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::BrightText}) {
        p.setColor(role, QColor(238, 238, 236));
      }
      p.setColor(QPalette::Base, QColor(40, 40, 40));
      p.setColor(QPalette::Highlight, QColor(21, 83, 158));
      QApplication::setPalette(p);
    } else {
      QApplication::setPalette(desktop_);
    }
    QApplication::processEvents();
  }
  void Corrupt(int cell, const std::string& text) override {
    g_.As<QLineEdit>("Text2", cell)->setText(QString::fromStdString(text));
  }

 private:
  QPalette desktop_;
  QAccessibleInterface* Accessible(const char* name, int index) {
    return QAccessible::queryAccessibleInterface(g_.W(name, index));
  }
};

}  // namespace

std::unique_ptr<conformance::Driver> conformance::MakeDriver(std::string separator) {
  return std::make_unique<QtDriver>(std::move(separator));
}
