// The XPM reader and the .ico writer behind xpm2ico.
#include "tools/xpm.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <map>
#include <optional>

namespace xpm {

namespace {

constexpr int kMaxColours = 256;
constexpr int kMaxIcoSide = 256;

// The string literals of the C source, in order, with adjacent literals joined
// as the compiler would join them. Comments are skipped, so that a quote in a
// comment does not start a string.
std::vector<std::string> StringLiterals(std::string_view source) {
  std::vector<std::string> literals;
  bool joinable = false;  // the last token was a literal
  std::size_t i = 0;
  while (i < source.size()) {
    const char c = source[i];
    if (source.substr(i, 2) == "/*") {
      const std::size_t end = source.find("*/", i + 2);
      if (end == std::string_view::npos) throw XpmError("unterminated comment");
      i = end + 2;
    } else if (source.substr(i, 2) == "//") {
      const std::size_t end = source.find('\n', i);
      i = end == std::string_view::npos ? source.size() : end;
    } else if (c == '"') {
      std::string text;
      ++i;
      for (;;) {
        if (i >= source.size() || source[i] == '\n') throw XpmError("unterminated string");
        const char s = source[i++];
        if (s == '"') break;
        if (s == '\\') {
          if (i >= source.size()) throw XpmError("unterminated string");
          const char e = source[i++];
          if (e != '\\' && e != '"' && e != '\'') {
            throw XpmError(std::string("unsupported escape \\") + e + " in a string");
          }
          text += e;
        } else {
          text += s;
        }
      }
      if (joinable) {
        literals.back() += text;
      } else {
        literals.push_back(std::move(text));
      }
      joinable = true;
    } else {
      if (c != ' ' && c != '\t' && c != '\n' && c != '\r') joinable = false;
      ++i;
    }
  }
  return literals;
}

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
    if (i > start) words.push_back(text.substr(start, i - start));
  }
  return words;
}

std::optional<int> Number(std::string_view word) {
  int value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size() || value < 0) return std::nullopt;
  return value;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The top eight bits of each channel of #RGB, #RRGGBB or #RRRRGGGGBBBB.
std::optional<Colour> HexColour(std::string_view digits) {
  if (digits.size() != 3 && digits.size() != 6 && digits.size() != 12) return std::nullopt;
  if (std::any_of(digits.begin(), digits.end(), [](char c) { return HexDigit(c) < 0; })) {
    return std::nullopt;
  }
  const std::size_t per_channel = digits.size() / 3;
  std::array<std::uint8_t, 3> channels{};
  for (std::size_t k = 0; k < 3; ++k) {
    const std::string_view channel = digits.substr(k * per_channel, per_channel);
    const int high = HexDigit(channel[0]);
    // A single digit stands for itself twice: #F00 is #FF0000.
    const int low = per_channel == 1 ? high : HexDigit(channel[1]);
    channels[k] = static_cast<std::uint8_t>(high * 16 + low);
  }
  return Colour{channels[0], channels[1], channels[2], false};
}

std::optional<Colour> ParseColour(std::string_view value) {
  if (!value.empty() && value[0] == '#') return HexColour(value.substr(1));
  // The X11 values of the few names worth writing by hand.
  static const std::map<std::string, Colour, std::less<>> kNames = {
      {"none", {0, 0, 0, true}},          {"black", {0, 0, 0, false}},
      {"white", {255, 255, 255, false}},  {"red", {255, 0, 0, false}},
      {"green", {0, 255, 0, false}},      {"blue", {0, 0, 255, false}},
      {"yellow", {255, 255, 0, false}},   {"cyan", {0, 255, 255, false}},
      {"magenta", {255, 0, 255, false}},  {"gray", {190, 190, 190, false}},
      {"grey", {190, 190, 190, false}},
  };
  const auto found = kNames.find(Lower(value));
  if (found == kNames.end()) return std::nullopt;
  return found->second;
}

bool IsVisualKey(std::string_view word) {
  return word == "c" || word == "m" || word == "g4" || word == "g" || word == "s";
}

// A colour line after its pixel characters: pairs of a visual key and a value.
// Only the colour visual ("c") is used; the others, written for monochrome or
// grey displays or naming a symbol, are skipped.
Colour ParseColourLine(std::string_view rest, const std::string& line) {
  const std::vector<std::string_view> words = Words(rest);
  std::optional<Colour> colour;
  std::size_t i = 0;
  while (i < words.size()) {
    const std::string_view key = words[i++];
    if (!IsVisualKey(key)) {
      throw XpmError("unknown colour key '" + std::string(key) + "' in \"" + line + "\"");
    }
    // A value may be several words ("light grey"), up to the next key.
    std::string value;
    while (i < words.size() && !IsVisualKey(words[i])) {
      if (!value.empty()) value += ' ';
      value += words[i++];
    }
    if (value.empty()) throw XpmError("colour key '" + std::string(key) + "' without a value");
    if (key == "c") {
      colour = ParseColour(value);
      if (!colour) throw XpmError("unknown colour '" + value + "' in \"" + line + "\"");
    }
  }
  if (!colour) throw XpmError("no colour (c) value in \"" + line + "\"");
  return *colour;
}

void PutU16(std::vector<unsigned char>& out, unsigned value) {
  out.push_back(static_cast<unsigned char>(value & 0xFF));
  out.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
}

void PutU32(std::vector<unsigned char>& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) {
    out.push_back(static_cast<unsigned char>((value >> shift) & 0xFF));
  }
}

// Bitmap rows are padded to whole 32-bit words.
std::size_t Stride(std::size_t bits) { return (bits + 31) / 32 * 4; }

}  // namespace

Xpm ParseXpm(std::string_view source) {
  const std::vector<std::string> strings = StringLiterals(source);
  if (strings.empty()) throw XpmError("no XPM data (no strings found)");

  const std::vector<std::string_view> header = Words(strings[0]);
  // "width height ncolors cpp", then perhaps a hotspot and an XPMEXT marker.
  const bool extended = !header.empty() && header.back() == "XPMEXT";
  const std::size_t numbers = header.size() - (extended ? 1 : 0);
  if (numbers != 4 && numbers != 6) {
    throw XpmError("bad header \"" + strings[0] + "\" (expected \"width height colours chars\")");
  }
  std::array<int, 4> values{};
  for (std::size_t k = 0; k < numbers; ++k) {
    const std::optional<int> value = Number(header[k]);
    if (!value) throw XpmError("bad header \"" + strings[0] + "\": '" +
                               std::string(header[k]) + "' is not a number");
    if (k < 4) values[k] = *value;
  }
  Xpm image;
  image.width = values[0];
  image.height = values[1];
  const int colours = values[2];
  const int chars = values[3];
  if (image.width == 0 || image.height == 0) throw XpmError("bad header: empty image");
  if (colours == 0) throw XpmError("bad header: no colours");
  if (colours > kMaxColours) {
    throw XpmError(std::to_string(colours) + " colours, more than the " +
                   std::to_string(kMaxColours) + " an 8-bit icon can hold");
  }
  if (chars != 1 && chars != 2) {
    throw XpmError("bad header: " + std::to_string(chars) +
                   " characters per pixel (only 1 and 2 are supported)");
  }
  const std::size_t cpp = static_cast<std::size_t>(chars);
  const std::size_t ncolours = static_cast<std::size_t>(colours);
  const std::size_t rows = static_cast<std::size_t>(image.height);

  if (strings.size() < 1 + ncolours) {
    throw XpmError("expected " + std::to_string(colours) + " colour lines, found " +
                   std::to_string(strings.size() - 1));
  }
  const std::size_t found_rows = strings.size() - 1 - ncolours;
  if (found_rows < rows || (found_rows > rows && !extended)) {
    throw XpmError("expected " + std::to_string(image.height) + " pixel rows, found " +
                   std::to_string(found_rows));
  }

  std::map<std::string, std::uint8_t, std::less<>> keys;
  for (std::size_t k = 0; k < ncolours; ++k) {
    const std::string& line = strings.at(1 + k);
    if (line.size() < cpp) throw XpmError("colour line \"" + line + "\" is too short");
    // The key characters may themselves be blanks, so they are cut off by
    // count before the rest is split into words.
    const std::string key = line.substr(0, cpp);
    image.palette.push_back(ParseColourLine(std::string_view(line).substr(cpp), line));
    if (!keys.emplace(key, static_cast<std::uint8_t>(k)).second) {
      throw XpmError("colour key '" + key + "' is defined twice");
    }
  }

  const std::size_t width = static_cast<std::size_t>(image.width);
  image.pixels.reserve(width * rows);
  for (std::size_t y = 0; y < rows; ++y) {
    const std::string& row = strings.at(1 + ncolours + y);
    if (row.size() != width * cpp) {
      throw XpmError("pixel row " + std::to_string(y + 1) + " has " +
                     std::to_string(row.size()) + " characters, expected " +
                     std::to_string(width * cpp));
    }
    for (std::size_t x = 0; x < width; ++x) {
      const std::string_view key = std::string_view(row).substr(x * cpp, cpp);
      const auto found = keys.find(key);
      if (found == keys.end()) {
        throw XpmError("unknown pixel key '" + std::string(key) + "' in pixel row " +
                       std::to_string(y + 1));
      }
      image.pixels.push_back(found->second);
    }
  }
  return image;
}

std::vector<std::uint8_t> IcoSlots(const Xpm& image) {
  const bool has_transparency = std::any_of(image.palette.begin(), image.palette.end(),
                                            [](const Colour& c) { return c.transparent; });
  std::vector<std::uint8_t> slots;
  int next = has_transparency ? 1 : 0;
  for (const Colour& colour : image.palette) {
    if (colour.transparent) {
      slots.push_back(0);
    } else {
      if (next >= kMaxColours) throw XpmError("too many colours for an 8-bit icon");
      slots.push_back(static_cast<std::uint8_t>(next++));
    }
  }
  return slots;
}

std::vector<unsigned char> MakeIco(const Xpm& image) {
  if (image.width < 1 || image.width > kMaxIcoSide || image.height < 1 ||
      image.height > kMaxIcoSide) {
    throw XpmError("an icon is 1 to 256 pixels a side, not " + std::to_string(image.width) +
                   "x" + std::to_string(image.height));
  }
  const std::size_t width = static_cast<std::size_t>(image.width);
  const std::size_t height = static_cast<std::size_t>(image.height);
  if (image.pixels.size() != width * height) throw XpmError("pixel count does not match the size");
  if (image.palette.size() > static_cast<std::size_t>(kMaxColours)) {
    throw XpmError("more than 256 colours");
  }
  if (std::any_of(image.pixels.begin(), image.pixels.end(),
                  [&](std::uint8_t p) { return p >= image.palette.size(); })) {
    throw XpmError("a pixel refers to a colour the palette does not have");
  }
  const std::vector<std::uint8_t> slots = IcoSlots(image);

  constexpr std::uint32_t kDirSize = 6;
  constexpr std::uint32_t kEntrySize = 16;
  constexpr std::uint32_t kInfoSize = 40;
  constexpr std::uint32_t kPaletteSize = 4 * kMaxColours;
  const std::size_t xor_stride = Stride(8 * width);
  const std::size_t and_stride = Stride(width);
  const std::uint32_t bitmap_size = static_cast<std::uint32_t>((xor_stride + and_stride) * height);
  const std::uint32_t image_size = kInfoSize + kPaletteSize + bitmap_size;

  std::vector<unsigned char> ico;
  ico.reserve(kDirSize + kEntrySize + image_size);

  // ICONDIR: reserved, type 1 (icon), one image.
  PutU16(ico, 0);
  PutU16(ico, 1);
  PutU16(ico, 1);

  // ICONDIRENTRY. A side of 256 is written as 0, and so is a colour count of
  // 256, which is what an 8-bit palette always has here.
  ico.push_back(static_cast<unsigned char>(width % 256));
  ico.push_back(static_cast<unsigned char>(height % 256));
  ico.push_back(0);  // colour count
  ico.push_back(0);  // reserved
  PutU16(ico, 1);    // planes
  PutU16(ico, 8);    // bits per pixel
  PutU32(ico, image_size);
  PutU32(ico, kDirSize + kEntrySize);

  // BITMAPINFOHEADER. The height counts the XOR bitmap and the AND mask.
  PutU32(ico, kInfoSize);
  PutU32(ico, static_cast<std::uint32_t>(width));
  PutU32(ico, static_cast<std::uint32_t>(2 * height));
  PutU16(ico, 1);  // planes
  PutU16(ico, 8);  // bits per pixel
  PutU32(ico, 0);  // BI_RGB, uncompressed
  PutU32(ico, bitmap_size);
  PutU32(ico, 0);  // horizontal resolution
  PutU32(ico, 0);  // vertical resolution
  PutU32(ico, 0);  // colours used: all 256
  PutU32(ico, 0);  // colours important: all

  // The palette, as RGBQUADs (blue, green, red, 0). Transparent colours and
  // unused slots stay black.
  const std::size_t palette_at = ico.size();
  ico.resize(palette_at + kPaletteSize, 0);
  for (std::size_t k = 0; k < image.palette.size(); ++k) {
    const Colour& colour = image.palette[k];
    if (colour.transparent) continue;
    unsigned char* quad = &ico[palette_at + 4 * std::size_t{slots[k]}];
    quad[0] = colour.blue;
    quad[1] = colour.green;
    quad[2] = colour.red;
  }

  // Both bitmaps are stored from the bottom row up.
  const std::size_t xor_at = ico.size();
  const std::size_t and_at = xor_at + xor_stride * height;
  ico.resize(and_at + and_stride * height, 0);
  for (std::size_t y = 0; y < height; ++y) {
    const std::size_t stored_row = height - 1 - y;
    for (std::size_t x = 0; x < width; ++x) {
      const std::uint8_t index = image.pixels[y * width + x];
      if (image.palette[index].transparent) {
        // The XOR pixel stays 0, black, so that the screen shows through.
        ico[and_at + stored_row * and_stride + x / 8] |=
            static_cast<unsigned char>(0x80u >> (x % 8));
      } else {
        ico[xor_at + stored_row * xor_stride + x] = slots[index];
      }
    }
  }
  return ico;
}

}  // namespace xpm
