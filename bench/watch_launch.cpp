// Times a program of any toolkit from outside, with nothing linked into it:
// from just before its start to the first drawing into its first mapped
// top-level window, as the X server reports it (the DAMAGE extension), then
// ends it and takes its peak resident memory. Prints "<microseconds> <peak KB>";
// with --maps, a second line: its resident memory at that frame by mapping.
// Usage: watch_launch [--maps] <program> [arguments...]
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "launch_timer.h"

namespace {

// A window may be gone, or be input-only, by the time it is watched: the
// X server refuses it, and it is simply not watched.
int IgnoreError(Display*, XErrorEvent*) { return 0; }

// What a mapping is, by its path: the toolkit's own libraries and plugins,
// the text stack beneath them, the X client libraries, fonts, translations,
// the rest of the libraries, the program, and what is no file (the heap).
const char* KindOf(const std::string& path, const std::string& program) {
  const auto has = [&path](const char* part) { return path.find(part) != std::string::npos; };
  if (path.empty() || path[0] == '[') return "heap";
  if (has("memfd:") || has("SYSV")) return "shared-images";
  if (has("/fonts/") || has("fontconfig/") || has(".ttf") || has(".otf")) return "fonts";
  if (has(".qm") || has(".mo") || has("/locale/") || has("gconv")) return "translations-locale";
  for (const char* part : {"libQt6", "/qt6/plugins/", "libgtk", "libgdk", "libglib", "libgobject", "libgio",
                           "libgmodule", "libcairo", "libpango", "libatk", "libatspi", "libepoxy", "libpixman"}) {
    if (has(part)) return "toolkit-libraries";
  }
  for (const char* part : {"libharfbuzz", "libfreetype", "libfontconfig", "libicu", "libfribidi", "libgraphite",
                           "libpng", "libbrotli", "libexpat", "libthai", "libdatrie"}) {
    if (has(part)) return "text-libraries";
  }
  if (has("/libX") || has("/libxcb") || has("/libxkb") || has("/libGL") || has("/libEGL") || has("/libOpenGL"))
    return "x-gl-libraries";
  if (path == program) return "program";
  return "other-libraries";
}

std::string Maps(pid_t pid) {
  char exe[4096] = {};
  const std::string proc = "/proc/" + std::to_string(pid);
  (void)!readlink((proc + "/exe").c_str(), exe, sizeof exe - 1);
  std::ifstream smaps(proc + "/smaps");
  std::map<std::string, long> kb;
  std::string line, kind = "heap";
  while (std::getline(smaps, line)) {
    if (line.rfind("Rss:", 0) == 0) {
      kb[kind] += std::stol(line.substr(4));
    } else if (line.find(':') == std::string::npos || line.find('-') < line.find(' ')) {
      // A mapping's header: "start-end perms offset dev inode [path]".
      std::istringstream fields(line);
      std::string field, path;
      for (int i = 0; i < 5; ++i) fields >> field;
      std::getline(fields >> std::ws, path);
      kind = KindOf(path, exe);
    }
  }
  std::string out;
  for (const auto& [name, size] : kb) out += " " + name + "=" + std::to_string(size);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const bool maps = argc > 1 && std::strcmp(argv[1], "--maps") == 0;
  if (maps) {
    --argc;
    ++argv;
  }
  if (argc < 2) {
    std::fputs("usage: watch_launch [--maps] <program> [arguments...]\n", stderr);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  int damage_event = 0, damage_error = 0;
  if (display == nullptr || !XDamageQueryExtension(display, &damage_event, &damage_error)) {
    std::fputs("watch_launch: no X server with the DAMAGE extension\n", stderr);
    return 1;
  }
  XSetErrorHandler(&IgnoreError);
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  long long start = 0;
  const pid_t pid = bench::Spawn(argv + 1, actions, start);
  if (pid == 0) return 1;

  // A top-level window is watched from its creation, so that no drawing is
  // missed; only drawing once it is mapped counts, so that a window drawn
  // unseen, or one never shown, does not.
  std::set<Window> created, mapped;
  long long painted = -1;
  const int fd = ConnectionNumber(display);
  while (painted < 0) {
    if (XPending(display) == 0) {
      pollfd p{fd, POLLIN, 0};
      if (poll(&p, 1, 100) == 0 && waitpid(pid, nullptr, WNOHANG) == pid) break;
      continue;
    }
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == CreateNotify && event.xcreatewindow.parent == root && !event.xcreatewindow.override_redirect) {
      // Input-only windows cannot be drawn into, and the server says so.
      created.insert(event.xcreatewindow.window);
      XDamageCreate(display, event.xcreatewindow.window, XDamageReportRawRectangles);
    } else if (event.type == MapNotify && created.count(event.xmap.window) != 0) {
      mapped.insert(event.xmap.window);
    } else if (event.type == damage_event + XDamageNotify) {
      const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
      if (mapped.count(damage.drawable) != 0) painted = bench::NowMicroseconds();
    }
  }
  const std::string by_mapping = painted >= 0 && maps ? Maps(pid) : std::string();
  kill(pid, SIGKILL);  // no tear-down: the figure is the start-up alone
  const int code = bench::Report("watch_launch", argv[1], pid, start, painted, "a window");
  if (code == 0 && maps) std::printf("KB by mapping:%s\n", by_mapping.c_str());
  return code;
}
