// Reads the XPM images the program's artwork is kept in, and writes one as a
// Windows .ico, for the resource file of the Win32 build. Standard library only.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace xpm {

// The size of the program icon, the only size the converter writes.
inline constexpr int kIconSize = 32;

// Malformed input, or an image the .ico format cannot hold. The message is one
// line, fit to be shown after the file name.
class XpmError : public std::runtime_error {
 public:
  explicit XpmError(const std::string& message) : std::runtime_error(message) {}
};

struct Colour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  // "None" in the XPM; the channels are then 0.
  bool transparent = false;

  friend bool operator==(const Colour&, const Colour&) = default;
};

struct Xpm {
  int width = 0;
  int height = 0;
  // In the order of the XPM's colour lines; at most 256 entries.
  std::vector<Colour> palette;
  // One palette index per pixel, row by row from the top.
  std::vector<std::uint8_t> pixels;

  std::uint8_t Index(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
  const Colour& At(int x, int y) const { return palette[Index(x, y)]; }
};

// Parses the text of an XPM3 file: the string literals of its C array, with
// one or two characters per pixel. Colours may be #RGB, #RRGGBB,
// #RRRRGGGGBBBB, None or one of a few basic names. Raises XpmError.
Xpm ParseXpm(std::string_view source);

// Where each XPM colour goes in the .ico's 256-entry palette. When the image
// has transparent colours, slot 0 is black and stands for all of them, and the
// opaque colours follow in XPM order; otherwise the order is kept as it is.
std::vector<std::uint8_t> IcoSlots(const Xpm& image);

// The bytes of a .ico holding this one image as an 8-bit bitmap with an AND
// mask. Any size from 1 to 256 pixels a side; raises XpmError otherwise, or
// when the pixels do not match the size and palette.
std::vector<unsigned char> MakeIco(const Xpm& image);

}  // namespace xpm
