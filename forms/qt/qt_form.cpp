// The Qt back end; see qt_form.h.
#include "forms/qt/qt_form.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QFocusFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLibraryInfo>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTranslator>
#include <algorithm>
#include <qdrawutil.h>

#include "board/errors.h"
#include "forms/cp1251.h"

namespace forms::qt {

namespace {

QString FromCp1251(std::string_view text) {
  const std::u16string wide = DecodeCp1251(text);
  return QString(reinterpret_cast<const QChar*>(wide.data()), static_cast<qsizetype>(wide.size()));
}

std::string ToCp1251(const QString& text) {
  return EncodeCp1251(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                          static_cast<std::size_t>(text.size())));
}

QColor ToQColor(Colour c) {
  return QColor(static_cast<int>((c >> 16) & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>(c & 0xFF));
}

// The classic colours of a form, whatever the desktop's theme: black text,
// white text boxes and lists, grey buttons, in every role and every group,
// so that no colour of a dark theme shows through on the described
// backgrounds. Disabled texts are grey, engraved in white.
QPalette ClassicPalette(QColor window) {
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

void PaintBackground(QWidget* w, Colour c) {
  if (c == kDefaultColour) return;
  // Buttons fill with the Button role, other widgets with Window.
  QPalette palette = w->palette();
  palette.setColor(QPalette::Window, ToQColor(c));
  palette.setColor(QPalette::Button, ToQColor(c));
  w->setPalette(palette);
  w->setAutoFillBackground(true);
}

// A button drawn flat in its own back colour, as the graphical button style
// asks: a bevel, the caption centred, greyed when disabled. The focus is
// shown by the window's FocusMark. Enter and the keypad's Enter press it, as
// Space does.
class FlatButton : public QPushButton {
 public:
  FlatButton(QColor back, QWidget* parent) : QPushButton(parent), back_(back) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, back_);
    qDrawWinButton(&p, r, palette(), isDown());
    QRect text_rect = r.adjusted(3, 2, -3, -2);
    if (isDown()) text_rect.translate(1, 1);
    const int flags = Qt::AlignCenter | Qt::TextWordWrap;
    if (isEnabled()) {
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
// what the user sees of it, not only the mark and the caption.
class Selector : public QRadioButton {
 public:
  Selector(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {}

 protected:
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
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
// a list's current entry counts as focused, so a list without the focus
// keeps none.
class PoolList : public QListWidget {
 public:
  using QListWidget::QListWidget;

 protected:
  void focusOutEvent(QFocusEvent* event) override {
    QListWidget::focusOutEvent(event);
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
  }
};

QAccessibleInterface* AccessibleFactory(const QString&, QObject* object) {
  if (auto* line = dynamic_cast<ReadOnlyLine*>(object)) return new ReadOnlyAccessible(line, line);
  if (auto* panel = dynamic_cast<ReadOnlyPanel*>(object)) return new ReadOnlyAccessible(panel, panel);
  // The window is a frame named by its caption, not a filler.
  if (auto* window = dynamic_cast<FormWindow*>(object)) return new QAccessibleWidget(window, QAccessible::Window);
  return nullptr;
}

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

// Qt's own texts (the text boxes' context menus, the error box's buttons) in
// the window's language, Bulgarian, whatever the user's locale. Once per
// application; without the translation they stay in English.
void LoadToolkitTranslation() {
  QCoreApplication* app = QCoreApplication::instance();
  const QString name = QStringLiteral("forms.qt.bulgarian");
  if (app == nullptr || app->findChild<QTranslator*>(name, Qt::FindDirectChildrenOnly) != nullptr) return;
  auto* translator = new QTranslator(app);
  translator->setObjectName(name);
  if (translator->load(QStringLiteral("qtbase_bg"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(translator);
  }
}

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

class ListElement : public board::List {
 public:
  explicit ListElement(QListWidget* w) : w_(w) {}
  int Count() const override { return w_->count(); }
  void Clear() override { w_->clear(); }
  void Append(std::string_view entry) override { w_->addItem(FromCp1251(entry)); }
  void RemoveAt(int index) override {
    if (index < 0 || index >= w_->count()) throw board::NoSuchElementError();
    delete w_->takeItem(index);
  }

 private:
  QListWidget* w_;
};

class LineTextElement : public board::Text {
 public:
  explicit LineTextElement(QLineEdit* w) : w_(w) {}
  std::string Get() const override { return ToCp1251(w_->text()); }
  void Set(std::string_view text) override { w_->setText(FromCp1251(text)); }

 private:
  QLineEdit* w_;
};

// Multi-line texts keep CR LF line ends; the widget shows plain line feeds.
class PanelTextElement : public board::Text {
 public:
  explicit PanelTextElement(QPlainTextEdit* w) : w_(w) {}
  std::string Get() const override { return WithCrLf(ToCp1251(w_->toPlainText())); }
  void Set(std::string_view text) override {
    w_->setPlainText(QString::fromStdU16String(WithLineFeeds(DecodeCp1251(text))));
  }

 private:
  QPlainTextEdit* w_;
};

// A label named by others speaks their captions, then its own.
class CaptionElement : public board::Caption {
 public:
  CaptionElement(QLabel* w, QString name) : w_(w), name_(std::move(name)) { Speak(); }
  void SetCaption(std::string_view caption) override {
    w_->setText(FromCp1251(caption));
    Speak();
  }

 private:
  void Speak() {
    if (!name_.isEmpty()) w_->setAccessibleName(name_ + w_->text());
  }
  QLabel* w_;
  QString name_;
};

class SwitchElement : public board::Switch {
 public:
  explicit SwitchElement(QWidget* w) : w_(w) {}
  bool Enabled() const override { return w_->isEnabled(); }
  void SetEnabled(bool enabled) override { w_->setEnabled(enabled); }

 private:
  QWidget* w_;
};

class OptionElement : public board::Option {
 public:
  explicit OptionElement(QRadioButton* w) : w_(w) {}
  bool Value() const override { return w_->isChecked(); }
  void SetValue(bool selected) override {
    // An exclusive group refuses to clear its checked button; leave the
    // group for the moment of the change. No click is raised.
    const QSignalBlocker quiet(w_);
    w_->setAutoExclusive(false);
    w_->setChecked(selected);
    w_->setAutoExclusive(true);
    // Tab stops once in a group, at its checked member; with none checked,
    // at its first, not at whichever had the focus last.
    const auto group = w_->parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
    if (std::none_of(group.begin(), group.end(), [](QRadioButton* b) { return b->isChecked(); })) {
      for (QRadioButton* b : group) {
        const int policy = b == group.front() ? (b->focusPolicy() | Qt::TabFocus) : (b->focusPolicy() & ~Qt::TabFocus);
        b->setFocusPolicy(static_cast<Qt::FocusPolicy>(policy));
      }
    }
  }

 private:
  QRadioButton* w_;
};

}  // namespace

FormWindow::FormWindow(const Form& form)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      BackEnd(form),
      dpi_(std::max(1, qRound(screen()->logicalDotsPerInch()))),
      widgets_(form.controls.size(), nullptr) {
  LoadToolkitTranslation();
  static const bool factory_installed = [] {
    QAccessible::installFactory(&AccessibleFactory);
    return true;
  }();
  (void)factory_installed;
  setObjectName(QString::fromLatin1(form.name));
  setWindowTitle(FromCp1251(form.caption));
  setFixedSize(TwipsToPixels(form.client_width, dpi_), TwipsToPixels(form.client_height, dpi_));
  setPalette(ClassicPalette(form.back_colour == kDefaultColour ? QColor(192, 192, 192) : ToQColor(form.back_colour)));
  PaintBackground(this, form.back_colour);
  QFont font(QString::fromLatin1(form.font.name));
  font.setPointSize(form.font.points);
  font.setWeight(static_cast<QFont::Weight>(form.font.weight));
  setFont(font);

  Build(dpi_);

  // The focus mark follows the focus among this window's controls.
  auto* mark = new FocusMark(this, dpi_);
  focus_mark_ = mark;
  connect(qApp, &QApplication::focusChanged, mark, [this, mark](QWidget*, QWidget* now) {
    QWidget* control = nullptr;
    for (QWidget* w : widgets_) {
      if (now != nullptr && w != nullptr && (w == now || w->isAncestorOf(now))) control = w;
    }
    mark->Mark(control);
  });
}

Element FormWindow::MakeControl(const Placement& p) {
  const Control& c = *p.control;
  QWidget* parent = p.container < 0 ? this : widgets_[static_cast<std::size_t>(p.container)];
  const QString caption = QString::fromStdU16String(p.caption);
  const QString spoken = QString::fromStdU16String(p.spoken);
  Element element;
  QWidget* widget = nullptr;
  switch (c.kind) {
    case ControlKind::kLabel: {
      auto* w = new QLabel(parent);
      w->setTextFormat(Qt::PlainText);
      w->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
      w->setWordWrap(true);
      w->setText(caption);
      element = std::make_unique<CaptionElement>(w, spoken);
      widget = w;
      break;
    }
    case ControlKind::kFrame: widget = new Frame(caption, parent); break;
    case ControlKind::kOptionButton: {
      auto* w = new Selector(caption, parent);
      w->setAutoExclusive(true);
      element = std::make_unique<OptionElement>(w);
      widget = w;
      break;
    }
    case ControlKind::kButton: {
      auto* w = new FlatButton(ToQColor(c.back_colour), parent);
      w->setText(caption);
      element = std::make_unique<SwitchElement>(w);
      widget = w;
      break;
    }
    case ControlKind::kTextBox:
      if (c.multi_line) {
        auto* w = new ReadOnlyPanel(parent);
        w->setTabChangesFocus(true);
        w->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        w->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        w->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        w->setPlainText(caption);
        element = std::make_unique<PanelTextElement>(w);
        widget = w;
      } else {
        auto* w = new ReadOnlyLine(parent);
        w->setText(caption);
        element = std::make_unique<LineTextElement>(w);
        widget = w;
      }
      break;
    case ControlKind::kListBox: {
      auto* w = new PoolList(parent);
      w->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
      element = std::make_unique<ListElement>(w);
      widget = w;
      break;
    }
  }
  widget->setObjectName(c.index < 0 ? QString::fromLatin1(c.name)
                                    : QStringLiteral("%1(%2)").arg(QLatin1String(c.name)).arg(c.index));
  widget->setGeometry(p.in_container.left, p.in_container.top, p.in_container.width, p.in_container.height);
  if (c.kind != ControlKind::kButton) PaintBackground(widget, c.back_colour);
  if (c.kind != ControlKind::kLabel && !spoken.isEmpty()) widget->setAccessibleName(spoken);
  if (TakesFocus(c.kind)) {
    // Keyboard focus follows the tab index, the order the controls come in;
    // the first one that shows has it.
    if (last_focusable_ != nullptr) QWidget::setTabOrder(last_focusable_, widget);
    last_focusable_ = widget;
    if (c.visible && focusWidget() == nullptr) widget->setFocus();
  } else {
    widget->setFocusPolicy(Qt::NoFocus);
  }
  widget->setVisible(c.visible);
  widgets_[p.row] = widget;
  return element;
}

// The mark goes first: it looks the focus up among the controls, which go
// before it.
FormWindow::~FormWindow() { delete focus_mark_; }

QWidget* FormWindow::Widget(std::string_view name, int index) const {
  const int row = RowNumber(name, index);
  return row < 0 ? nullptr : widgets_[static_cast<std::size_t>(row)];
}

void FormWindow::ConnectEvents() {
  for (std::size_t row = 0; row < widgets_.size(); ++row) {
    auto* button = qobject_cast<QAbstractButton*>(widgets_[row]);
    if (button == nullptr) continue;
    const Control* control = &Description().controls[row];
    const auto click = [this, control] { RaiseClick(*control); };
    if (control->kind == ControlKind::kOptionButton) {
      // An option is clicked when it becomes selected: a click on the
      // selected one (the second half of a double click among them) raises
      // nothing, and the board's own changes are made with signals blocked.
      connect(button, &QAbstractButton::toggled, this, [click](bool selected) {
        if (selected) click();
      });
    } else {
      connect(button, &QAbstractButton::clicked, this, click);
    }
  }
}

void FormWindow::ShowCentred() {
  // Centred by its client area first; the frame's size is known only once
  // the window is on the screen, and then centres it exactly.
  const QPoint centre = screen()->availableGeometry().center();
  move(centre - rect().center());
  show();
  QRect frame = frameGeometry();
  frame.moveCenter(centre);
  if (frame.topLeft() != pos()) move(frame.topLeft());
}

void FormWindow::ShowErrorBox(const ErrorReport& report) {
  QMessageBox::critical(isVisible() ? this : nullptr, QString::fromStdU16String(report.title),
                        QString::fromStdU16String(report.message));
}

void FormWindow::EndProgram() {
  hide();
  QCoreApplication::exit(1);
}

char FormWindow::DecimalSeparator() const {
  const QString point = QLocale::system().decimalPoint();
  if (point.size() == 1 && point[0].unicode() < 0x80) return static_cast<char>(point[0].unicode());
  return '.';
}

}  // namespace forms::qt
