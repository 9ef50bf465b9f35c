// Start-up on Linux: build MainForm with the Qt back end, load it, show it,
// and run the event loop until the window is closed.
#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "app/icon/bottles.xpm"
#include "forms/qt/qt_form.h"
#include "window/main_form.h"

namespace {

// Qt aborts with a screenful of advice when it cannot open a display; one
// plain line in the program's language says it better. Its other messages
// while it opens one are held back, and given once it has.
std::vector<std::pair<QtMsgType, QString>> held;

[[noreturn]] void NoDisplay() {
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || *name == '\0') name = std::getenv("WAYLAND_DISPLAY");
  if (name == nullptr || *name == '\0') {
    std::fputs("bottles: няма дисплей, на който да се отвори прозорецът (DISPLAY не е зададен)\n", stderr);
  } else {
    std::fprintf(stderr, "bottles: дисплеят „%s“ не може да се отвори\n", name);
  }
  std::_Exit(2);
}

void WhileOpening(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg) NoDisplay();
  held.emplace_back(type, message);
}

// The drawing in every size a desktop asks for: whole multiples stay sharp
// squares, the rest are smoothed.
QIcon WindowIcon() {
  const QPixmap drawing(bottles_xpm);
  QIcon icon(drawing);
  for (const int size : {16, 24, 48, 64, 128}) {
    const auto how = size % 32 == 0 ? Qt::FastTransformation : Qt::SmoothTransformation;
    icon.addPixmap(drawing.scaled(size, size, Qt::IgnoreAspectRatio, how));
  }
  return icon;
}

bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (!HasDisplay()) NoDisplay();
  // Ties the window to its desktop entry: Wayland shells go by the entry's
  // name, X11 ones by the window class, which Qt takes from the application
  // name and the entry names as StartupWMClass.
  QApplication::setApplicationName(QStringLiteral("bottles"));
  QGuiApplication::setDesktopFileName(QStringLiteral("org.example.bottles"));

  const QtMessageHandler usual = qInstallMessageHandler(WhileOpening);
  QApplication app(argc, argv);
  qInstallMessageHandler(usual);
  for (const auto& [type, message] : held) qt_message_output(type, QMessageLogContext(), message);
  held.clear();
  forms::qt::FormWindow window(MainForm::Description());
  window.setWindowIcon(WindowIcon());
  MainForm form(window, window);
  if (!window.Load(form)) return 1;
  window.ShowCentred();
  return app.exec();
}
