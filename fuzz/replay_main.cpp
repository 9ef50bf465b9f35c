// Replays a fuzz target's corpus without libFuzzer, so that every input the
// fuzzers ever kept (a failure among them, once fixed) stays a test in the
// ordinary build. Usage: <target>_replay <corpus directory>...
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  int replayed = 0;
  for (int i = 1; i < argc; ++i) {
    for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
      std::ifstream in(entry.path(), std::ios::binary);
      const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      // An empty input comes as a valid pointer, as libFuzzer gives it; a
      // target aborts on the first input whose result it finds wrong.
      static const std::uint8_t kNone = 0;
      const auto* data = bytes.empty() ? &kNone : reinterpret_cast<const std::uint8_t*>(bytes.data());
      LLVMFuzzerTestOneInput(data, bytes.size());
      ++replayed;
    }
  }
  std::printf("%d inputs replayed\n", replayed);
  return replayed > 0 ? 0 : 1;
}
