// xpm2ico <in.xpm> <out.ico>: turns the program's XPM icon into the .ico the
// Win32 resource file embeds. A build-time host tool.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/xpm.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: xpm2ico <in.xpm> <out.ico>\n";
    return 2;
  }
  const std::string in_path = argv[1];
  const std::string out_path = argv[2];

  std::ifstream in(in_path, std::ios::binary);
  if (!in) {
    std::cerr << "xpm2ico: " << in_path << ": cannot open for reading\n";
    return 1;
  }
  const std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    std::cerr << "xpm2ico: " << in_path << ": read error\n";
    return 1;
  }

  std::vector<unsigned char> ico;
  try {
    const xpm::Xpm image = xpm::ParseXpm(source);
    if (image.width != xpm::kIconSize || image.height != xpm::kIconSize) {
      std::cerr << "xpm2ico: " << in_path << ": the icon is " << image.width << "x"
                << image.height << ", expected " << xpm::kIconSize << "x" << xpm::kIconSize
                << "\n";
      return 1;
    }
    ico = xpm::MakeIco(image);
  } catch (const xpm::XpmError& error) {
    std::cerr << "xpm2ico: " << in_path << ": " << error.what() << "\n";
    return 1;
  }

  std::ofstream out(out_path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(ico.data()), static_cast<std::streamsize>(ico.size()));
  out.close();
  if (!out) {
    std::cerr << "xpm2ico: " << out_path << ": cannot write\n";
    return 1;
  }
  return 0;
}
