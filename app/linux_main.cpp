// Start-up on Linux: build MainForm with the Qt back end, load it, show it,
// and run the event loop until the window is closed.
#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>

#include "app/icon/bottles.xpm"
#include "forms/qt/qt_form.h"
#include "window/main_form.h"

namespace {

// Qt aborts with a screenful of advice when there is no display to open;
// one plain line says it better.
bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (!HasDisplay()) {
    std::fputs("bottles: no display to open the window on (DISPLAY is not set)\n", stderr);
    return 2;
  }
  // Ties the window to its desktop entry: Wayland shells go by the entry's
  // name, X11 ones by the window class, which Qt takes from the application
  // name and the entry names as StartupWMClass.
  QApplication::setApplicationName(QStringLiteral("bottles"));
  QGuiApplication::setDesktopFileName(QStringLiteral("org.example.bottles"));

  QApplication app(argc, argv);
  forms::qt::FormWindow window(MainForm::Description());
  window.setWindowIcon(QIcon(QPixmap(bottles_xpm)));
  MainForm form(window, forms::qt::DecimalSeparator());
  if (!window.Load(form)) return 1;
  window.ShowCentred();
  return app.exec();
}
