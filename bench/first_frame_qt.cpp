// Linked into the Qt programs of the bench build only (bottles and bare_qt):
// when the first window has painted its first frame, says so on standard
// output and ends the process, so that bench/launch.cpp can time it. With
// BOTTLES_BENCH_WATCHED set it stays quiet: bench/watch_launch.cpp times the
// program from outside, as it times programs of other toolkits.
#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdlib>

namespace {

// Qt paints a whole window, children included, and flushes it to the X server
// in one go from the expose event; a zero timer runs once that is over.
class FirstFrame : public QObject {
 public:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (!seen_ && event->type() == QEvent::Paint && object->isWidgetType() &&
        static_cast<QWidget*>(object)->isWindow()) {
      seen_ = true;
      QTimer::singleShot(0, [] {
        static constexpr char kLine[] = "first-frame\n";
        (void)!write(STDOUT_FILENO, kLine, sizeof kLine - 1);
        _exit(0);  // no tear-down: the figure is the start-up alone
      });
    }
    return false;
  }

 private:
  bool seen_ = false;
};

void Install() {
  if (std::getenv("BOTTLES_BENCH_WATCHED") != nullptr) return;
  QCoreApplication::instance()->installEventFilter(new FirstFrame);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(Install)
