// libFuzzer target for the game: each input byte is a click on MainForm's
// in-memory controls (a selector or a button), and after every click the form
// must agree with the reference model of tests/model.h and keep its rules.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "tests/memory_target.h"

namespace {

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "events_fuzz mismatch: %s\n", what.c_str());
  std::abort();
}

std::string EventName(std::uint8_t byte) {
  const int e = byte % 14;
  return e < 9 ? "select " + std::to_string(e) : "press " + std::to_string(e - 9);
}

// The events up to and including the failing one, to replay it by hand.
std::string Events(const std::uint8_t* data, std::size_t last) {
  std::string out;
  for (std::size_t i = 0; i <= last; ++i) out += " " + EventName(data[i]);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  model::MemoryTarget target;
  model::Reference ref(".");
  target.Press(2);
  std::string diff = model::Compare(target, ref);
  if (!diff.empty()) Fail("after clearing:" + diff);
  for (std::size_t i = 0; i < size; ++i) {
    const int e = data[i] % 14;
    try {
      if (e < 9) {
        target.Select(e);
        ref.Select(e);
      } else {
        target.Press(e - 9);
        ref.Press(e - 9);
      }
    } catch (const std::exception& error) {
      Fail("after" + Events(data, i) + ": raised " + error.what());
    }
    diff = model::Compare(target, ref);
    if (!diff.empty()) Fail("after" + Events(data, i) + ":" + diff);
  }
  return 0;
}
