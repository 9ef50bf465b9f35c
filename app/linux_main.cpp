// Start-up on Linux: build MainForm with the Qt back end, load it, show it,
// and run the event loop until the window is closed.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QPixmap>
#include <QPluginLoader>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/icon/bottles.xpm"
#include "forms/qt/qt_form.h"
#include "window/main_form.h"

namespace {

// Qt aborts with a screenful of advice when it cannot open a display; one
// plain line in the program's language says it better, and says which of the
// things the user set is wrong. Qt's other messages while it opens one are
// held back, and given once it has.
std::vector<std::pair<QtMsgType, QString>> held;

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// The platform and the display the user named, and where: Qt's own options
// (-platform, -display) before the environment (QT_QPA_PLATFORM, DISPLAY).
struct Asked {
  std::string platform;
  const char* platform_from = "QT_QPA_PLATFORM";
  std::string display;
};
Asked asked;

Asked WhatIsAsked(int argc, char** argv) {
  Asked a;
  a.platform = Env("QT_QPA_PLATFORM");
  for (int i = 1; i + 1 < argc; ++i) {
    const std::string_view option = argv[i];
    if (option == "-platform" || option == "--platform") {
      a.platform = argv[i + 1];
      a.platform_from = "-platform";
    } else if (option == "-display" || option == "--display") {
      a.display = argv[i + 1];
    }
  }
  return a;
}

[[noreturn]] void Fail(const std::string& line) {
  std::fprintf(stderr, "bottles: %s\n", line.c_str());
  std::_Exit(2);
}

std::string Quoted(const std::string& text) { return "„" + text + "“"; }

// The names of the platforms Qt can load here, from its plugins' metadata
// (read without loading them): where Qt itself looks, and the folders the
// environment adds.
QStringList PlatformKeys() {
  QStringList folders;
  const QString own = qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH");
  if (!own.isEmpty()) folders << own;
  for (const QString& folder : qEnvironmentVariable("QT_PLUGIN_PATH").split(u':', Qt::SkipEmptyParts)) {
    folders << folder + QStringLiteral("/platforms");
  }
  folders << QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms");
  QStringList keys;
  for (const QString& folder : folders) {
    const QDir dir(folder);
    for (const QString& file : dir.entryList(QDir::Files)) {
      const QJsonObject meta =
          QPluginLoader(dir.filePath(file)).metaData().value(QStringLiteral("MetaData")).toObject();
      for (const auto& key : meta.value(QStringLiteral("Keys")).toArray()) keys << key.toString().toLower();
    }
  }
  keys.removeDuplicates();
  keys.sort();
  return keys;
}

// Whether a compositor listens on the Wayland socket the environment names.
bool WaylandCompositor() {
  std::string path = Env("WAYLAND_DISPLAY");
  if (path.empty()) return false;
  if (path[0] != '/') {
    const std::string dir = Env("XDG_RUNTIME_DIR");
    if (dir.empty()) return false;
    path = dir + "/" + path;
  }
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size());
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool listening = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return listening;
}

constexpr const char* kWaylandPackage = "qt6-wayland";

// In a Wayland session Qt may take the compositor; without its plugin for
// Wayland it cannot. Where X is there too (XWayland) the window goes there;
// else the user learns what to install.
void ChooseForWayland() {
  if (!asked.platform.empty() || Env("WAYLAND_DISPLAY").empty()) return;
  if (PlatformKeys().contains(QStringLiteral("wayland")) || !WaylandCompositor()) return;
  if (!Env("DISPLAY").empty() || !asked.display.empty()) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    return;
  }
  Fail("има Wayland композитор (" + Quoted(Env("WAYLAND_DISPLAY")) +
       "), но липсва приставката на Qt за Wayland: инсталирайте пакета " + kWaylandPackage);
}

// The display a platform opens, as the user named it.
std::string DisplayOf(const std::string& platform) {
  if (platform.rfind("wayland", 0) == 0) return Env("WAYLAND_DISPLAY");
  if (platform == "xcb") return asked.display.empty() ? Env("DISPLAY") : asked.display;
  return "";
}

// Why Qt could not open a window, said once.
[[noreturn]] void NoDisplay() {
  if (!asked.platform.empty()) {
    // A list ("wayland;xcb"), each with its arguments after a colon.
    const QStringList keys = PlatformKeys();
    std::string known;
    std::string unknown;
    for (const QString& entry : QString::fromStdString(asked.platform).split(u';', Qt::SkipEmptyParts)) {
      const QString name = entry.section(u':', 0, 0).toLower();
      std::string& first = keys.contains(name) ? known : unknown;
      if (first.empty()) first = name.toStdString();
    }
    const std::string from = std::string(" (зададена с ") + asked.platform_from + ")";
    if (known.empty()) {
      std::string line =
          "Qt няма платформа " + Quoted(unknown) + from + "; има: " + keys.join(QStringLiteral(", ")).toStdString();
      if (unknown.rfind("wayland", 0) == 0) line += std::string("; за Wayland инсталирайте пакета ") + kWaylandPackage;
      Fail(line);
    }
    const std::string display = DisplayOf(known);
    Fail("платформата " + Quoted(known) + from + " не може да отвори " +
         (display.empty() ? std::string("прозорец") : "дисплея " + Quoted(display)));
  }
  if (!asked.display.empty()) Fail("дисплеят " + Quoted(asked.display) + " (зададен с -display) не може да се отвори");
  std::string name = Env("DISPLAY");
  if (name.empty()) name = Env("WAYLAND_DISPLAY");
  if (name.empty()) Fail("няма дисплей, на който да се отвори прозорецът (DISPLAY не е зададен)");
  Fail("дисплеят " + Quoted(name) + " не може да се отвори");
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
  return !asked.platform.empty() || !asked.display.empty() || !Env("DISPLAY").empty() ||
         !Env("WAYLAND_DISPLAY").empty();
}

}  // namespace

int main(int argc, char** argv) {
  asked = WhatIsAsked(argc, argv);
  if (!HasDisplay()) NoDisplay();
  ChooseForWayland();
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
