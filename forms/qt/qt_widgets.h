// The widgets of the Qt back end that are drawn or spoken of otherwise than
// Qt's own: the form's classic palette, flat coloured buttons, selectors
// clicked anywhere in their box, read-only text boxes and what a screen
// reader is told of them, pools, frames and the focus mark.
#pragma once

#include <qdrawutil.h>

#include <QAccessibleWidget>
#include <QFocusFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <algorithm>
#include <array>

namespace forms::qt {

// The classic colours of a form, whatever the desktop's theme: black text,
// white text boxes and lists, grey buttons, in every role and every group,
// so that no colour of a dark theme shows through on the described
// backgrounds. Disabled texts are grey, engraved in white.
inline QPalette ClassicPalette(QColor window) {
  QPalette p;
  const QColor black(0, 0, 0), white(255, 255, 255), face(192, 192, 192), grey(128, 128, 128);
  const QColor navy(0, 0, 128), light(223, 223, 223), dark_grey(64, 64, 64);
  for (const QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    const bool off = g == QPalette::Disabled;
    p.setColor(g, QPalette::Window, window);
    p.setColor(g, QPalette::WindowText, off ? grey : black);
    p.setColor(g, QPalette::Base, white);
    p.setColor(g, QPalette::AlternateBase, white);
    p.setColor(g, QPalette::Text, off ? grey : black);
    p.setColor(g, QPalette::PlaceholderText, grey);
    p.setColor(g, QPalette::Button, face);
    p.setColor(g, QPalette::ButtonText, off ? grey : black);
    p.setColor(g, QPalette::BrightText, white);
    p.setColor(g, QPalette::Light, white);
    p.setColor(g, QPalette::Midlight, light);
    p.setColor(g, QPalette::Mid, grey);
    p.setColor(g, QPalette::Dark, grey);
    p.setColor(g, QPalette::Shadow, dark_grey);
    p.setColor(g, QPalette::Highlight, off ? grey : navy);
    p.setColor(g, QPalette::HighlightedText, white);
    p.setColor(g, QPalette::Link, QColor(0, 0, 255));
    p.setColor(g, QPalette::LinkVisited, QColor(128, 0, 128));
    p.setColor(g, QPalette::ToolTipBase, QColor(255, 255, 225));
    p.setColor(g, QPalette::ToolTipText, black);
  }
  return p;
}

// A button drawn flat in its own back colour (none: the palette's, under
// high contrast), as the graphical button style asks: a bevel, the caption centred, greyed when disabled. The focus is
// shown by the window's FocusMark. Enter and the keypad's Enter press it, as
// Space does.
class FlatButton : public QPushButton {
 public:
  FlatButton(QColor back, QWidget* parent) : QPushButton(parent), back_(back) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, back_.isValid() ? back_ : palette().color(QPalette::Button));
    qDrawWinButton(&p, r, palette(), isDown());
    QRect text_rect = r.adjusted(3, 2, -3, -2);
    if (isDown()) text_rect.translate(1, 1);
    const int flags = Qt::AlignCenter | Qt::TextWordWrap;
    if (!back_.isValid()) {
      // The desktop's high-contrast colours: its own text, greyed its way.
      p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    } else if (isEnabled()) {
      p.setPen(Qt::black);
    } else {
      p.setPen(Qt::white);
      p.drawText(text_rect.translated(1, 1), flags, text());
      p.setPen(QColor(128, 128, 128));
    }
    p.drawText(text_rect, flags, text());
  }

  void keyPressEvent(QKeyEvent* event) override {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
      // One press, one click: a held key's repeats are not presses.
      if (!event->isAutoRepeat()) click();
      event->accept();
      return;
    }
    QPushButton::keyPressEvent(event);
  }

 private:
  QColor back_;
};

// An option button that a click anywhere in its box selects, as its box is
// what the user sees of it, not only the mark and the caption. The arrow
// keys go where the frame's rule says (SetArrows), not where Qt's own
// search by geometry would, and select the one moved to.
class Selector : public QRadioButton {
 public:
  Selector(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {}

  // Left, Right, Up and Down; nullptr at an edge.
  void SetArrows(const std::array<QAbstractButton*, 4>& to) { arrows_ = to; }

 protected:
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }

  void keyPressEvent(QKeyEvent* event) override {
    int way = -1;
    switch (event->key()) {
      case Qt::Key_Left: way = 0; break;
      case Qt::Key_Right: way = 1; break;
      case Qt::Key_Up: way = 2; break;
      case Qt::Key_Down: way = 3; break;
      default: break;
    }
    if (way < 0 || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
      QRadioButton::keyPressEvent(event);
      return;
    }
    event->accept();
    QAbstractButton* to = arrows_[static_cast<std::size_t>(way)];
    if (to == nullptr || !to->isEnabled()) return;
    to->setFocus(Qt::TabFocusReason);
    // Selected as a click selects it: the group raises its click once.
    if (!to->isChecked()) to->click();
  }

 private:
  std::array<QAbstractButton*, 4> arrows_{};
};

// A text box the user cannot type into, as a screen reader reads it: its
// text, its selection and its cursor.
class ReadOnlyBox {
 public:
  virtual ~ReadOnlyBox() = default;
  virtual QString Shown() const = 0;
  virtual bool Selected(int* start, int* end) const = 0;
  virtual void Select(int start, int end) = 0;
  virtual int Cursor() const = 0;
  virtual void SetCursor(int position) = 0;
};

// A single-line text box the user cannot type into.
class ReadOnlyLine : public QLineEdit, public ReadOnlyBox {
 public:
  explicit ReadOnlyLine(QWidget* parent) : QLineEdit(parent) { setReadOnly(true); }
  QString Shown() const override { return text(); }
  bool Selected(int* start, int* end) const override {
    if (!hasSelectedText()) return false;
    *start = selectionStart();
    *end = selectionEnd();
    return true;
  }
  void Select(int start, int end) override { setSelection(start, end - start); }
  int Cursor() const override { return cursorPosition(); }
  void SetCursor(int position) override { setCursorPosition(position); }
};

// A multi-line panel the user can scroll but not type into.
class ReadOnlyPanel : public QPlainTextEdit, public ReadOnlyBox {
 public:
  explicit ReadOnlyPanel(QWidget* parent) : QPlainTextEdit(parent) { setReadOnly(true); }
  QString Shown() const override { return toPlainText(); }
  bool Selected(int* start, int* end) const override {
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) return false;
    *start = cursor.selectionStart();
    *end = cursor.selectionEnd();
    return true;
  }
  void Select(int start, int end) override {
    QTextCursor cursor = textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
  }
  int Cursor() const override { return textCursor().position(); }
  void SetCursor(int position) override {
    QTextCursor cursor = textCursor();
    cursor.setPosition(position);
    setTextCursor(cursor);
  }
};

// What a screen reader is told of a ReadOnlyBox: Qt's own objects call every
// text box editable, and let a screen reader rewrite a read-only panel; this
// one says read-only and offers reading only, no editing. Its text is what
// the box shows.
class ReadOnlyAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  ReadOnlyAccessible(QWidget* w, ReadOnlyBox* box) : QAccessibleWidget(w, QAccessible::EditableText), box_(box) {}

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return box_->Shown();
    return QAccessibleWidget::text(t);
  }
  // Its parts (a panel's viewport and scroll bars) are no objects of their
  // own: the viewport would say it has the focus, as the panel does.
  int childCount() const override { return 0; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.editable = false;
    state.selectableText = true;
    state.multiLine = qobject_cast<QPlainTextEdit*>(widget()) != nullptr;
    return state;
  }

  // QAccessibleTextInterface
  void selection(int index, int* start, int* end) const override {
    *start = *end = 0;
    if (index == 0) box_->Selected(start, end);
  }
  int selectionCount() const override {
    int start = 0, end = 0;
    return box_->Selected(&start, &end) ? 1 : 0;
  }
  void addSelection(int start, int end) override { box_->Select(start, end); }
  void removeSelection(int) override { box_->SetCursor(box_->Cursor()); }
  void setSelection(int, int start, int end) override { box_->Select(start, end); }
  int cursorPosition() const override { return box_->Cursor(); }
  void setCursorPosition(int position) override { box_->SetCursor(position); }
  QString text(int start, int end) const override { return box_->Shown().mid(start, end - start); }
  int characterCount() const override { return static_cast<int>(box_->Shown().size()); }
  QRect characterRect(int) const override { return QRect(); }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int offset, int* start, int* end) const override {
    *start = *end = offset;
    return QString();
  }

 private:
  ReadOnlyBox* box_;
};

// A pool. Only the control that has the focus says so to a screen reader:
// a list's current entry counts as focused beside the list, so a pool keeps
// none, and its keys scroll it by rows instead of moving a current entry.
class PoolList : public QListWidget {
 public:
  using QListWidget::QListWidget;

 protected:
  void focusInEvent(QFocusEvent* event) override {
    QListWidget::focusInEvent(event);
    NoCurrentEntry();
  }
  void focusOutEvent(QFocusEvent* event) override {
    QListWidget::focusOutEvent(event);
    NoCurrentEntry();
  }
  void keyPressEvent(QKeyEvent* event) override {
    QAbstractSlider::SliderAction action = QAbstractSlider::SliderNoAction;
    switch (event->key()) {
      case Qt::Key_Up: action = QAbstractSlider::SliderSingleStepSub; break;
      case Qt::Key_Down: action = QAbstractSlider::SliderSingleStepAdd; break;
      case Qt::Key_PageUp: action = QAbstractSlider::SliderPageStepSub; break;
      case Qt::Key_PageDown: action = QAbstractSlider::SliderPageStepAdd; break;
      case Qt::Key_Home: action = QAbstractSlider::SliderToMinimum; break;
      case Qt::Key_End: action = QAbstractSlider::SliderToMaximum; break;
      default: QListWidget::keyPressEvent(event); return;
    }
    verticalScrollBar()->triggerAction(action);
    event->accept();
  }

 private:
  void NoCurrentEntry() { selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate); }
};

// The mark of the control that has the keyboard focus, drawn over it by the
// window: a black ring with a white one inside it, so that one of the two
// stands out on any back colour, light or dark. A focus frame is no control
// of its own to a screen reader.
class FocusMark : public QFocusFrame {
 public:
  FocusMark(QWidget* window, int dpi) : QFocusFrame(window), width_(std::max(1, dpi / 96)) { hide(); }

  // Puts the mark on `control`, a descendant of the window, or takes it
  // away (nullptr).
  void Mark(QWidget* control) {
    if (control == nullptr) {
      hide();
      return;
    }
    white_ = qobject_cast<QPushButton*>(control) != nullptr ? 2 : 1;
    setGeometry(QRect(control->mapTo(parentWidget(), QPoint(0, 0)), control->size()));
    raise();
    show();
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QRect r = rect();
    Ring(p, r, 2 * width_, Qt::black);
    // A button may be dark: its white line is as wide as the black.
    Ring(p, r.adjusted(2 * width_, 2 * width_, -2 * width_, -2 * width_), white_ * width_, Qt::white);
  }

 private:
  static void Ring(QPainter& p, const QRect& r, int w, const QColor& colour) {
    p.fillRect(QRect(r.left(), r.top(), r.width(), w), colour);
    p.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), colour);
    p.fillRect(QRect(r.left(), r.top(), w, r.height()), colour);
    p.fillRect(QRect(r.right() - w + 1, r.top(), w, r.height()), colour);
  }

  int width_;
  int white_ = 1;
};

// Where the words of a move are said: a notification, which a screen reader
// speaks when it shows (Orca speaks no name or description changes that
// Qt 6.4 sends: it sends the object, not the text). It draws nothing, takes
// no focus and no click; each move shows it anew with its words as its name.
class Announcer : public QWidget {
 public:
  explicit Announcer(QWidget* window) : QWidget(window) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 1, 1);
    hide();
  }
  void Say(const QString& words) {
    hide();
    setAccessibleName(words);
    show();
  }
};

// A frame drawn the classic way: its back colour, an etched border, and the
// caption on the border's top edge.
class Frame : public QGroupBox {
 public:
  Frame(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QFontMetrics metrics(font());
    const int top = metrics.height() / 2;
    qDrawShadeRect(&p, QRect(0, top, width(), height() - top), palette(), true, 1);
    const QRect caption(8, 0, metrics.horizontalAdvance(title()) + 4, metrics.height());
    p.fillRect(caption, palette().window());
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(caption, Qt::AlignCenter, title());
  }
};

}  // namespace forms::qt
