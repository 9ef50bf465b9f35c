// The cost of a click on real Qt widgets (offscreen): a placement through
// MainForm::Command1_Click(3), against the least a click must do, one plain
// QLineEdit::setText; and a placement from a pool of 21 entries against one
// from a pool of 1. Repaints are left out: handlers are called directly and
// pending events are handled between timed stretches.
#include <QApplication>
#include <QLineEdit>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "forms/qt/qt_form.h"
#include "window/main_form.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kBatches = 25;  // of each side, alternating

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Runs the two sides' batches alternately (A, B, A, B, ...); each batch
// returns its cost per call in nanoseconds. Returns the two medians.
std::pair<double, double> Alternate(const std::function<double()>& a, const std::function<double()>& b) {
  std::vector<double> as, bs;
  a();  // warm-up of both, not counted
  b();
  for (int i = 0; i < kBatches; ++i) {
    as.push_back(a());
    bs.push_back(b());
  }
  return {Median(as), Median(bs)};
}

class Bench {
 public:
  Bench() : window_(MainForm::Description()), form_(window_, window_), line_(&window_) {
    line_.setReadOnly(true);
    line_.setGeometry(0, 0, 49, 27);  // a count cell's size
    if (!window_.Load(form_)) std::abort();
    window_.show();
    QApplication::processEvents();
  }

  // 20 games, each placing all 21 bottles, a kind at a time over the tables.
  double Placements() {
    constexpr int kRounds = 20;
    Clock::duration spent{};
    for (int r = 0; r < kRounds; ++r) {
      form_.Command1_Click(2);
      QApplication::processEvents();
      const auto start = Clock::now();
      for (int kind = 0; kind < 3; ++kind) {
        for (int i = 0; i < 7; ++i) {
          form_.Option1_Click(static_cast<std::int16_t>(3 * (i % 3) + kind));
          form_.Command1_Click(3);
        }
      }
      spent += Clock::now() - start;
    }
    for (int kind = 0; kind < 3; ++kind) {
      if (window_.List("List1", kind).Count() != 0) std::abort();  // every call placed a bottle
    }
    return PerCall(spent, kRounds * 21);
  }

  double SetTexts() {
    constexpr int kRounds = 20;
    static const QString kTexts[] = {QStringLiteral("1"), QStringLiteral("2")};
    Clock::duration spent{};
    for (int r = 0; r < kRounds; ++r) {
      QApplication::processEvents();
      const auto start = Clock::now();
      for (int i = 0; i < 21; ++i) line_.setText(kTexts[i % 2]);
      spent += Clock::now() - start;
    }
    return PerCall(spent, kRounds * 21);
  }

  // One placement into Text2(0) from a pool of `entries`, each undone by a
  // return that is not timed, so every timed call finds the same pool.
  double PlacementFromPool(int entries) {
    constexpr int kRounds = 200;
    form_.Command1_Click(2);
    board::List& pool = window_.List("List1", 0);
    while (pool.Count() < entries) pool.Append("1");
    form_.Option1_Click(0);
    while (pool.Count() > entries) form_.Command1_Click(3);
    QApplication::processEvents();
    Clock::duration spent{};
    for (int r = 0; r < kRounds; ++r) {
      const auto start = Clock::now();
      form_.Command1_Click(3);
      spent += Clock::now() - start;
      if (pool.Count() != entries - 1) std::abort();
      form_.Command1_Click(4);
      if (r % 20 == 0) QApplication::processEvents();
    }
    return PerCall(spent, kRounds);
  }

 private:
  static double PerCall(Clock::duration d, int calls) {
    return static_cast<double>(std::chrono::duration_cast<std::chrono::nanoseconds>(d).count()) / calls;
  }

  forms::qt::FormWindow window_;
  MainForm form_;
  QLineEdit line_;
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  Bench bench;

  const auto [click, set_text] = Alternate([&] { return bench.Placements(); }, [&] { return bench.SetTexts(); });
  std::printf("# click %.0f ns, QLineEdit::setText %.0f ns (medians of %d batches each)\n", click, set_text, kBatches);
  std::printf("click-linux: %.2f (goal 10)\n", click / set_text);

  const auto [full, single] =
      Alternate([&] { return bench.PlacementFromPool(21); }, [&] { return bench.PlacementFromPool(1); });
  std::printf("# placement from 21 entries %.0f ns, from 1 entry %.0f ns (real widgets)\n", full, single);
  std::printf("pool-scaling: %.2f (goal 1.2)\n", full / single);
  return 0;
}
