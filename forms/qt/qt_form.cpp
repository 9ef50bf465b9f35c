// The Qt back end; see qt_form.h.
#include "forms/qt/qt_form.h"

#include <qdrawutil.h>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QButtonGroup>
#include <QFocusFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
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

#include "board/errors.h"
#include "forms/cp1251.h"
#include "forms/qt/high_contrast.h"
#include "forms/qt/qt_widgets.h"

namespace forms::qt {

namespace {

QString FromCp1251(std::string_view text) {
  const std::u16string wide = DecodeCp1251(text);
  return QString(reinterpret_cast<const QChar*>(wide.data()), static_cast<qsizetype>(wide.size()));
}

std::string ToCp1251(const QString& text) {
  return EncodeCp1251(
      std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
}

QColor ToQColor(Colour c) {
  return QColor(static_cast<int>((c >> 16) & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>(c & 0xFF));
}

// Whether the desktop asks for high contrast (high_contrast.h). Then the
// form takes the theme's colours; any other theme, a dark one too, leaves
// the described ones. Asked once, at the window's making.
bool HighContrast() {
  static const bool asked = DesktopAsksHighContrast();
  return asked;
}

void PaintBackground(QWidget* w, Colour c) {
  if (c == kDefaultColour || HighContrast()) return;
  // Buttons fill with the Button role, other widgets with Window.
  QPalette palette = w->palette();
  palette.setColor(QPalette::Window, ToQColor(c));
  palette.setColor(QPalette::Button, ToQColor(c));
  w->setPalette(palette);
  w->setAutoFillBackground(true);
}

QAccessibleInterface* AccessibleFactory(const QString&, QObject* object) {
  if (auto* line = dynamic_cast<ReadOnlyLine*>(object)) return new ReadOnlyAccessible(line, line);
  if (auto* panel = dynamic_cast<ReadOnlyPanel*>(object)) return new ReadOnlyAccessible(panel, panel);
  if (auto* announcer = dynamic_cast<Announcer*>(object))
    return new QAccessibleWidget(announcer, QAccessible::Notification);
  // The window is a frame named by its caption, not a filler.
  if (auto* window = dynamic_cast<FormWindow*>(object)) return new QAccessibleWidget(window, QAccessible::Window);
  return nullptr;
}

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

// A pool. Qt's AT-SPI bridge passes on none of a list's model changes, so
// the pool tells a screen reader itself of each entry it gains, once the
// entry is there, and of each it loses, while the entry's object still
// exists: the bridge names the entry from it. Nothing is sent, or made,
// while no reader is there.
class ListElement : public board::List {
 public:
  explicit ListElement(QListWidget* w) : w_(w) {}
  int Count() const override { return w_->count(); }
  void Clear() override {
    // From the last, as if they went one at a time: each index is right
    // for the pool as it is then.
    for (int index = w_->count() - 1; index >= 0; --index) Tell(QAccessible::ObjectDestroyed, index);
    w_->clear();
  }
  void Append(std::string_view entry) override {
    w_->addItem(FromCp1251(entry));
    Tell(QAccessible::ObjectCreated, w_->count() - 1);
  }
  void RemoveAt(int index) override {
    if (index < 0 || index >= w_->count()) throw board::NoSuchElementError();
    Tell(QAccessible::ObjectDestroyed, index);
    delete w_->takeItem(index);
  }

 private:
  void Tell(QAccessible::Event what, int index) {
    if (!QAccessible::isActive()) return;
    QAccessibleEvent event(w_, what);
    event.setChild(index);
    QAccessible::updateAccessibility(&event);
  }

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
    w_->setText(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
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
  OptionElement(QRadioButton* w, QButtonGroup* group) : w_(w), group_(group) {}
  bool Value() const override { return w_->isChecked(); }
  void SetValue(bool selected) override {
    // An exclusive group refuses to clear its checked button; it is not
    // exclusive for the moment of the change. No click is raised.
    const QSignalBlocker quiet(w_);
    group_->setExclusive(false);
    w_->setChecked(selected);
    group_->setExclusive(true);
    // Tab stops once in a group, at its checked member; with none checked,
    // at its first, not at whichever had the focus last.
    const auto group = group_->buttons();
    if (std::none_of(group.begin(), group.end(), [](QAbstractButton* b) { return b->isChecked(); })) {
      for (QAbstractButton* b : group) {
        const int policy = b == group.front() ? (b->focusPolicy() | Qt::TabFocus) : (b->focusPolicy() & ~Qt::TabFocus);
        b->setFocusPolicy(static_cast<Qt::FocusPolicy>(policy));
      }
    }
  }

 private:
  QRadioButton* w_;
  QButtonGroup* group_;
};

// The application's font set for as long as it lives, and back as it was
// however the scope is left, by an exception too.
class ApplicationFont {
 public:
  explicit ApplicationFont(const QFont& font) : saved_(QApplication::font()) { QApplication::setFont(font); }
  ~ApplicationFont() { QApplication::setFont(saved_); }
  ApplicationFont(const ApplicationFont&) = delete;
  ApplicationFont& operator=(const ApplicationFont&) = delete;

 private:
  QFont saved_;
};

}  // namespace

FormWindow::FormWindow(const Form& form)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      BackEnd(form),
      dpi_(std::max(1, qRound(screen()->logicalDotsPerInch()))),
      widgets_(form.controls.size(), nullptr),
      groups_(form.controls.size(), nullptr),
      arrows_(form.controls.size()) {
  LoadToolkitTranslationWhenNeeded();
  // Qt keeps a factory once however often it is installed, and drops it
  // with the application: installed with every window, a later application
  // has it too.
  QAccessible::installFactory(&AccessibleFactory);
  setObjectName(QString::fromLatin1(form.name));
  setWindowTitle(FromCp1251(form.caption));
  setFixedSize(TwipsToPixels(form.client_width, dpi_), TwipsToPixels(form.client_height, dpi_));
  if (!HighContrast())
    setPalette(ClassicPalette(form.back_colour == kDefaultColour ? QColor(192, 192, 192) : ToQColor(form.back_colour)));
  PaintBackground(this, form.back_colour);
  QFont font(QString::fromLatin1(form.font.name));
  font.setPointSize(form.font.points);
  font.setWeight(static_cast<QFont::Weight>(form.font.weight));
  setFont(font);

  // A line edit lays its empty text out in the application's font before it
  // takes its window's, which loaded a second font, unused, at start-up:
  // while the controls are made, the application's font is the window's.
  {
    const ApplicationFont building(font);
    Build(dpi_);
  }
  for (std::size_t row = 0; row < widgets_.size(); ++row) {
    auto* selector = dynamic_cast<Selector*>(widgets_[row]);
    if (selector == nullptr) continue;
    std::array<QAbstractButton*, 4> to{};
    for (std::size_t way = 0; way < to.size(); ++way) {
      const int target = arrows_[row][way];
      if (target >= 0) to[way] = qobject_cast<QAbstractButton*>(widgets_[static_cast<std::size_t>(target)]);
    }
    selector->SetArrows(to);
  }

  announcer_ = new Announcer(this);
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
      // Its group is the frame's, exclusive; the arrow keys' targets are
      // given once all the group is made.
      QButtonGroup*& group = groups_[static_cast<std::size_t>(p.group)];
      if (group == nullptr) group = new QButtonGroup(this);
      group->addButton(w);
      arrows_[p.row] = p.arrows;
      element = std::make_unique<OptionElement>(w, group);
      widget = w;
      break;
    }
    case ControlKind::kButton: {
      auto* w = new FlatButton(HighContrast() ? QColor() : ToQColor(c.back_colour), parent);
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

// A pool's name carries its count; the words of a move are said by the
// window's announcer, and the focus stays where it is.
void FormWindow::Changed(const Change& change) {
  const auto& controls = Description().controls;
  for (const Change::Part& part : change.parts) {
    if (controls[part.row].kind == ControlKind::kListBox)
      widgets_[part.row]->setAccessibleName(QString::fromStdU16String(part.said));
  }
  if (!change.words.empty()) announcer_->Say(QString::fromStdU16String(change.words));
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
  LoadToolkitTranslation();
  QMessageBox::critical(isVisible() ? this : nullptr, QString::fromStdU16String(report.title),
                        QString::fromStdU16String(report.message));
}

void FormWindow::EndProgram() {
  hide();
  QCoreApplication::exit(1);
}

std::string FormWindow::DecimalSeparator() const {
  const QString point = QLocale::system().decimalPoint();
  return point.isEmpty() ? "." : point.toStdString();
}

}  // namespace forms::qt
