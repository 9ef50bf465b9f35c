// The reference model of tests/model.h for the page's model test: run under
// Node.js with the decimal separator and the events ("s4" selects cell 4,
// "p3" presses button 3), it prints what the board must show, as one line of
// JSON before the first event and after each, in the form of page.js's
// state(), so that the web test and the C++ tests check one model.
#include <cstdio>
#include <string>

#include "tests/model.h"

namespace {

std::string Quoted(const std::string& text) { return '"' + text + '"'; }

template <typename Each>
std::string List(int n, Each each) {
  std::string list = "[";
  for (int i = 0; i < n; ++i) list += (i ? "," : "") + each(i);
  return list + "]";
}

void Print(const model::Reference& ref) {
  const std::string pouring = ref.pouring ? "true" : "false";
  // Clearing and the moves to and from a cell take every click; only the
  // pouring buttons close.
  const std::string line =
      "{\"pools\":" + List(3, [&](int k) { return std::to_string(ref.pools[k]); }) +
      ",\"entries_are_bottles\":true,\"cells\":" + List(9, [&](int c) { return Quoted(ref.CellText(c)); }) +
      ",\"summaries\":" + List(3, [&](int t) { return Quoted(ref.summaries[t]); }) +
      ",\"enabled\":" + List(5, [&](int b) { return b < 2 ? pouring : std::string("true"); }) +
      ",\"selected\":" + std::to_string(ref.selected) + "}\n";
  std::fputs(line.c_str(), stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: model_states SEPARATOR [s0..s8|p0..p4]...\n", stderr);
    return 2;
  }
  model::Reference ref(argv[1]);
  Print(ref);
  for (int i = 2; i < argc; ++i) {
    const std::string event = argv[i];
    const char last = event[0] == 's' ? '8' : event[0] == 'p' ? '4' : 0;
    if (event.size() != 2 || event[1] < '0' || event[1] > last) {
      std::fprintf(stderr, "model_states: no such event: %s\n", argv[i]);
      return 2;
    }
    const int n = event[1] - '0';
    if (event[0] == 's') {
      ref.Select(n);
    } else {
      ref.Press(n);
    }
    Print(ref);
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
