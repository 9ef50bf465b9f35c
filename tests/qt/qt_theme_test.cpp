// The form under a dark desktop palette: its texts stay dark on their
// described backgrounds, its boxes white, a checked selector plainly marked;
// whether the palette is the desktop's from the start or changes later.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>

#include "tests/qt/qt_fixture.h"

namespace {

double Luminance(QColor c) {
  const auto channel = [](int v) {
    const double s = v / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double Contrast(QColor a, QColor b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QImage Shot(QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); }

// The pixels of an image that stand out from `back` as text must (4.5:1).
int Marked(const QImage& image, QColor back) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) n += Contrast(image.pixelColor(x, y), back) >= 4.5;
  }
  return n;
}

QColor Commonest(const QImage& image) {
  std::map<QRgb, int> seen;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) ++seen[image.pixel(x, y)];
  }
  return QColor(
      std::max_element(seen.begin(), seen.end(), [](auto& a, auto& b) { return a.second < b.second; })->first);
}

QPalette Dark(QColor window) {
  QPalette p(window, window);
  for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::BrightText}) {
    p.setColor(role, QColor(238, 238, 236));
  }
  p.setColor(QPalette::Base, window.darker(130));
  p.setColor(QPalette::Highlight, QColor(21, 83, 158));
  return p;
}

void ExpectFormColours(qt_test::Game& g, const char* when) {
  for (const auto& c : MainForm::Description().controls) {
    QWidget* w = g.W(c.name, c.index);
    if (!w->isVisible()) continue;
    // A frame's own pixels are its caption's strip; below it are its controls.
    const QImage image = c.kind == forms::ControlKind::kFrame
                             ? w->grab(QRect(0, 0, w->width(), w->fontMetrics().height())).toImage()
                             : Shot(w);
    const std::string what = std::string(c.name) + "(" + std::to_string(c.index) + ") " + when;
    switch (c.kind) {
      case forms::ControlKind::kLabel:
      case forms::ControlKind::kFrame:
      case forms::ControlKind::kOptionButton:
        // The caption's strokes are dark on the described colour.
        EXPECT_EQ(Commonest(image), QColor(static_cast<QRgb>(c.back_colour))) << what;
        if (*c.caption != '\0' || (std::string(c.name) == "Label3" && c.index == 1)) {
          EXPECT_GE(Marked(image, QColor(static_cast<QRgb>(c.back_colour))), 20) << what;
        }
        break;
      case forms::ControlKind::kTextBox:
      case forms::ControlKind::kListBox: EXPECT_EQ(Commonest(image), QColor(Qt::white)) << what; break;
      case forms::ControlKind::kButton: break;
    }
  }
  // The text of a box is dark on its white.
  EXPECT_GE(Marked(Shot(g.W("Text1", 0)), Qt::white), 200) << when;
  EXPECT_GE(Marked(Shot(g.W("Text2", 4)), Qt::white), 10) << when;
  // The checked selector "2-0.5" bears a mark that the unchecked "1-0.5",
  // of the same colour and size, does not.
  const QColor half(0xFF, 0xC0, 0x80);
  EXPECT_GE(Marked(Shot(g.W("Option1", 4)), half), Marked(Shot(g.W("Option1", 1)), half) + 9) << when;
}

TEST(QtThemeTest, ADarkDesktopPaletteLeavesTheFormsColours) {
  const QPalette desktop = QApplication::palette();
  QApplication::setPalette(Dark(QColor(53, 53, 53)));
  {
    qt_test::Game g;
    g.Select(4);
    g.Press(3);
    ExpectFormColours(g, "under a dark palette");
    QApplication::setPalette(Dark(QColor(30, 30, 60)));
    QApplication::processEvents();
    ExpectFormColours(g, "after the desktop's palette changed");
  }
  QApplication::setPalette(desktop);
}

}  // namespace
