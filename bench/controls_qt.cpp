// The third floor of the Qt figures: MainForm's forty controls made plainly
// with Qt's own widgets, from the same rows of its description, in its font
// and colours, as the game shows them after loading; no forms runtime, no board.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <string_view>
#include <vector>

#include "forms/cp1251.h"
#include "window/main_form_description.h"

namespace {

QString Decode(std::string_view text) {
  QString out;
  out.reserve(static_cast<qsizetype>(text.size()));
  for (const char byte : text) {
    const auto b = static_cast<unsigned char>(byte);
    if (b < 0x80) {
      out.append(QChar(b));
    } else if (b >= 0xC0) {
      out.append(QChar(static_cast<char16_t>(0x410 + b - 0xC0)));
    } else {
      out.append(QChar(forms::cp1251_detail::kHigh[b - 0x80]));
    }
  }
  return out;
}

void Colour(QWidget* w, forms::Colour c) {
  if (c == forms::kDefaultColour) return;
  const QColor colour(static_cast<int>((c >> 16) & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                      static_cast<int>(c & 0xFF));
  QPalette palette = w->palette();
  palette.setColor(QPalette::Window, colour);
  palette.setColor(QPalette::Button, colour);
  w->setPalette(palette);
  w->setAutoFillBackground(true);
}

}  // namespace

int main(int argc, char** argv) {
  using K = forms::ControlKind;
  QApplication app(argc, argv);
  const forms::Form& form = MainFormDescription();
  QWidget window;
  const int dpi = qRound(window.screen()->logicalDotsPerInch());
  const auto px = [dpi](int twips) { return forms::TwipsToPixels(twips, dpi); };
  window.setWindowTitle(Decode(form.caption));
  window.setFixedSize(px(form.client_width), px(form.client_height));
  Colour(&window, form.back_colour);
  QFont font(QString::fromLatin1(form.font.name));
  font.setPointSize(form.font.points);
  font.setWeight(static_cast<QFont::Weight>(form.font.weight));
  window.setFont(font);

  // Frames first, so that the controls inside them find their parent.
  std::vector<std::pair<const char*, QWidget*>> frames;
  QWidget* first_focus = nullptr;
  for (const bool framing : {true, false}) {
    for (const forms::Control& c : form.controls) {
      if ((c.kind == K::kFrame) != framing) continue;
      QWidget* parent = &window;
      for (const auto& [name, frame] : frames) {
        if (c.container != nullptr && std::string_view(name) == c.container) parent = frame;
      }
      const QString caption = Decode(c.caption);
      QWidget* w = nullptr;
      switch (c.kind) {
        case K::kLabel: {
          auto* label = new QLabel(caption, parent);
          label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
          label->setWordWrap(true);
          w = label;
          break;
        }
        case K::kFrame:
          w = new QGroupBox(caption, parent);
          frames.emplace_back(c.name, w);
          break;
        case K::kOptionButton: w = new QRadioButton(caption, parent); break;
        case K::kButton: w = new QPushButton(caption, parent); break;
        case K::kTextBox:
          if (c.multi_line) {
            auto* panel = new QPlainTextEdit(caption.split(QStringLiteral("\r\n")).join(QLatin1Char('\n')), parent);
            panel->setReadOnly(true);
            panel->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            w = panel;
          } else {
            auto* line = new QLineEdit(parent);
            line->setReadOnly(true);
            w = line;
          }
          break;
        case K::kListBox: {
          // The pool as the game fills it: seven bottles of a kind.
          auto* list = new QListWidget(parent);
          for (int i = 0; i < 7; ++i) list->addItem(QStringLiteral("1"));
          w = list;
          break;
        }
      }
      w->setGeometry(px(c.left), px(c.top), px(c.width), px(c.height));
      Colour(w, c.back_colour);
      w->setVisible(c.visible);
      if (c.tab_index == 0) first_focus = w;
    }
  }
  if (first_focus != nullptr) first_focus->setFocus();
  window.show();
  return app.exec();
}
