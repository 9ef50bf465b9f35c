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

// A single-line text box the user cannot type into.
class ReadOnlyLine : public QLineEdit {
 public:
  explicit ReadOnlyLine(QWidget* parent) : QLineEdit(parent) { setReadOnly(true); }
};

// What a screen reader is told of a ReadOnlyLine: Qt's own object for a line
// edit calls every line edit editable, read-only or not; this one says
// read-only only. Its text is what the box shows.
class ReadOnlyLineAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit ReadOnlyLineAccessible(ReadOnlyLine* w) : QAccessibleWidget(w, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return Line()->text();
    return QAccessibleWidget::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.editable = false;
    state.selectableText = true;
    return state;
  }

  // QAccessibleTextInterface
  void selection(int index, int* start, int* end) const override {
    *start = *end = 0;
    if (index == 0 && Line()->hasSelectedText()) {
      *start = Line()->selectionStart();
      *end = Line()->selectionEnd();
    }
  }
  int selectionCount() const override { return Line()->hasSelectedText() ? 1 : 0; }
  void addSelection(int start, int end) override { setSelection(0, start, end); }
  void removeSelection(int) override { Line()->deselect(); }
  void setSelection(int, int start, int end) override { Line()->setSelection(start, end - start); }
  int cursorPosition() const override { return Line()->cursorPosition(); }
  void setCursorPosition(int position) override { Line()->setCursorPosition(position); }
  QString text(int start, int end) const override { return Line()->text().mid(start, end - start); }
  int characterCount() const override { return static_cast<int>(Line()->text().size()); }
  QRect characterRect(int) const override { return QRect(); }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int offset, int* start, int* end) const override {
    *start = *end = offset;
    return QString();
  }

 private:
  QLineEdit* Line() const { return static_cast<QLineEdit*>(widget()); }
};

QAccessibleInterface* ReadOnlyLineFactory(const QString&, QObject* object) {
  if (auto* line = dynamic_cast<ReadOnlyLine*>(object)) return new ReadOnlyLineAccessible(line);
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

// The window itself shows none of Qt's texts: the translation is loaded when
// one is first about to be shown, not at start-up. A context menu is made
// when its event arrives, so the translation is in before the menu's texts
// are; a screen reader also hears Qt's names of actions, so it is loaded as
// soon as one is there. The error box loads it itself.
class LazyTranslation : public QObject, public QAccessible::ActivationObserver {
 public:
  explicit LazyTranslation(QObject* parent) : QObject(parent) {
    QAccessible::installActivationObserver(this);
    if (QAccessible::isActive()) accessibilityActiveChanged(true);
  }
  ~LazyTranslation() override { QAccessible::removeActivationObserver(this); }

  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::ContextMenu) LoadToolkitTranslation();
    return false;
  }
  void accessibilityActiveChanged(bool active) override {
    if (active) LoadToolkitTranslation();
  }
};

void LoadToolkitTranslationWhenNeeded() {
  QCoreApplication* app = QCoreApplication::instance();
  const QString name = QStringLiteral("forms.qt.lazy-translation");
  if (app == nullptr || app->findChild<QObject*>(name, Qt::FindDirectChildrenOnly) != nullptr) return;
  auto* lazy = new LazyTranslation(app);
  lazy->setObjectName(name);
  app->installEventFilter(lazy);
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
  std::string Get() const override {
    return ToCp1251(w_->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n")));
  }
  void Set(std::string_view text) override {
    w_->setPlainText(FromCp1251(text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
  }

 private:
  QPlainTextEdit* w_;
};

// A label named by others speaks their captions, then its own.
class CaptionElement : public board::Caption {
 public:
  explicit CaptionElement(QLabel* w) : w_(w) {}
  void SetCaption(std::string_view caption) override {
    w_->setText(FromCp1251(caption));
    if (!name_.isEmpty()) w_->setAccessibleName(name_ + w_->text());
  }
  void SetName(const QString& name) {
    name_ = name;
    w_->setAccessibleName(name_ + w_->text());
  }

 private:
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
  }

 private:
  QRadioButton* w_;
};

}  // namespace

struct FormWindow::Row {
  const Control* control = nullptr;
  QWidget* widget = nullptr;
};

FormWindow::FormWindow(const Form& form)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      BackEnd(form),
      dpi_(std::max(1, qRound(screen()->logicalDotsPerInch()))) {
  const auto px = [this](int twips) { return TwipsToPixels(twips, dpi_); };
  LoadToolkitTranslationWhenNeeded();
  static const bool factory_installed = [] {
    QAccessible::installFactory(&ReadOnlyLineFactory);
    return true;
  }();
  (void)factory_installed;
  setObjectName(QString::fromLatin1(form.name));
  setWindowTitle(FromCp1251(form.caption));
  setFixedSize(px(form.client_width), px(form.client_height));
  PaintBackground(this, form.back_colour);
  QFont font(QString::fromLatin1(form.font.name));
  font.setPointSize(form.font.points);
  font.setWeight(static_cast<QFont::Weight>(form.font.weight));
  setFont(font);

  // Frames come before the controls they hold, whatever the row order.
  std::vector<const Control*> order;
  for (const Control& c : form.controls) {
    if (c.kind == ControlKind::kFrame) order.push_back(&c);
  }
  for (const Control& c : form.controls) {
    if (c.kind != ControlKind::kFrame) order.push_back(&c);
  }

  // A line edit lays its empty text out in the application's font before it
  // takes its window's, which loaded a second font, unused, at start-up:
  // while the controls are made, the application's font is the window's.
  const QFont application_font = QApplication::font();
  QApplication::setFont(font);
  rows_.resize(form.controls.size());
  for (const Control* c : order) {
    QWidget* parent = this;
    if (c->container != nullptr) {
      parent = Widget(c->container, -1);
      if (parent == nullptr) parent = this;
    }
    const auto number = static_cast<std::size_t>(c - form.controls.data());
    Elements& e = ElementsOf(number);
    auto row = std::make_unique<Row>();
    row->control = c;
    const QString caption = FromCp1251(c->caption);
    switch (c->kind) {
      case ControlKind::kLabel: {
        auto* w = new QLabel(parent);
        w->setTextFormat(Qt::PlainText);
        w->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        w->setWordWrap(true);
        w->setText(caption);
        e.caption = std::make_unique<CaptionElement>(w);
        row->widget = w;
        break;
      }
      case ControlKind::kFrame: {
        auto* w = new Frame(caption, parent);
        row->widget = w;
        break;
      }
      case ControlKind::kOptionButton: {
        auto* w = new Selector(caption, parent);
        w->setAutoExclusive(true);
        e.option = std::make_unique<OptionElement>(w);
        row->widget = w;
        break;
      }
      case ControlKind::kButton: {
        auto* w = new FlatButton(ToQColor(c->back_colour), parent);
        w->setText(caption);
        e.button = std::make_unique<SwitchElement>(w);
        row->widget = w;
        break;
      }
      case ControlKind::kTextBox: {
        if (c->multi_line) {
          auto* w = new QPlainTextEdit(parent);
          w->setReadOnly(true);
          w->setTabChangesFocus(true);
          w->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
          w->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
          w->setLineWrapMode(QPlainTextEdit::WidgetWidth);
          e.text = std::make_unique<PanelTextElement>(w);
          row->widget = w;
        } else {
          auto* w = new ReadOnlyLine(parent);
          e.text = std::make_unique<LineTextElement>(w);
          row->widget = w;
        }
        e.text->Set(c->caption);
        break;
      }
      case ControlKind::kListBox: {
        auto* w = new QListWidget(parent);
        w->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        e.list = std::make_unique<ListElement>(w);
        row->widget = w;
        break;
      }
    }
    QWidget* w = row->widget;
    w->setObjectName(c->index < 0 ? QString::fromLatin1(c->name)
                                  : QStringLiteral("%1(%2)").arg(QLatin1String(c->name)).arg(c->index));
    w->setGeometry(px(c->left), px(c->top), px(c->width), px(c->height));
    if (c->kind != ControlKind::kButton) PaintBackground(w, c->back_colour);
    if (!TakesFocus(c->kind)) w->setFocusPolicy(Qt::NoFocus);
    w->setVisible(c->visible);
    rows_[number] = std::move(row);
  }

  QApplication::setFont(application_font);

  // Names for a screen reader, from the labels that go with each control.
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const std::u16string wide = LabelledName(form, *rows_[i]->control);
    if (wide.empty()) continue;
    const QString name = QString::fromStdU16String(wide);
    if (auto& caption = ElementsOf(i).caption) {
      static_cast<CaptionElement&>(*caption).SetName(name);
    } else {
      rows_[i]->widget->setAccessibleName(name);
    }
  }

  // Keyboard focus follows the tab index.
  std::vector<const Row*> chain;
  for (const auto& row : rows_) {
    if (TakesFocus(row->control->kind)) chain.push_back(row.get());
  }
  std::stable_sort(chain.begin(), chain.end(), [](const Row* a, const Row* b) {
    return a->control->tab_index < b->control->tab_index;
  });
  for (std::size_t i = 1; i < chain.size(); ++i) {
    QWidget::setTabOrder(chain[i - 1]->widget, chain[i]->widget);
  }
  for (const Row* row : chain) {
    if (row->control->visible) {
      row->widget->setFocus();
      break;
    }
  }

  // The focus mark follows the focus among this window's controls.
  auto* mark = new FocusMark(this, dpi_);
  focus_mark_ = mark;
  connect(qApp, &QApplication::focusChanged, mark, [this, mark](QWidget*, QWidget* now) {
    QWidget* control = nullptr;
    for (const auto& row : rows_) {
      if (now != nullptr && (row->widget == now || row->widget->isAncestorOf(now))) control = row->widget;
    }
    mark->Mark(control);
  });
}

// The mark goes first: it looks the focus up among the rows, which go
// before the controls.
FormWindow::~FormWindow() { delete focus_mark_; }

QWidget* FormWindow::Widget(std::string_view name, int index) const {
  const int row = FindControl(Description(), name, index);
  if (row < 0 || !rows_[static_cast<std::size_t>(row)]) return nullptr;
  return rows_[static_cast<std::size_t>(row)]->widget;
}

void FormWindow::ConnectEvents() {
  for (const auto& row : rows_) {
    auto* button = qobject_cast<QAbstractButton*>(row->widget);
    if (button == nullptr) continue;
    const Control* control = row->control;
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
  LoadToolkitTranslation();
  QMessageBox::critical(isVisible() ? this : nullptr, QString::fromStdU16String(report.title),
                        QString::fromStdU16String(report.message));
}

void FormWindow::EndProgram() {
  hide();
  QCoreApplication::exit(1);
}

char DecimalSeparator() {
  const QString point = QLocale::system().decimalPoint();
  if (point.size() == 1 && point[0].unicode() < 0x80) return static_cast<char>(point[0].unicode());
  return '.';
}

}  // namespace forms::qt
