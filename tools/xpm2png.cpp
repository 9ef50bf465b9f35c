// xpm2png <in.xpm> <out.png> [scale]: writes the program's XPM icon as a PNG,
// scaled up by a whole number (nearest neighbour), for the icons the Linux
// desktop entry uses. A build-time host tool.
#include <charconv>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "tools/png.h"
#include "tools/xpm.h"

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::cerr << "usage: xpm2png <in.xpm> <out.png> [scale]\n";
    return 2;
  }
  const std::string in_path = argv[1];
  const std::string out_path = argv[2];
  int scale = 1;
  if (argc == 4) {
    const std::string_view text = argv[3];
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), scale);
    if (error != std::errc() || end != text.data() + text.size()) {
      std::cerr << "xpm2png: the scale '" << text << "' is not a whole number\n";
      return 2;
    }
  }

  std::ifstream in(in_path, std::ios::binary);
  if (!in) {
    std::cerr << "xpm2png: " << in_path << ": cannot open for reading\n";
    return 1;
  }
  const std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    std::cerr << "xpm2png: " << in_path << ": read error\n";
    return 1;
  }

  std::vector<unsigned char> bytes;
  try {
    bytes = png::MakePng(png::Scale(xpm::ParseXpm(source), scale));
  } catch (const xpm::XpmError& error) {
    std::cerr << "xpm2png: " << in_path << ": " << error.what() << "\n";
    return 1;
  }

  std::ofstream out(out_path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::cerr << "xpm2png: " << out_path << ": cannot write\n";
    return 1;
  }
  return 0;
}
