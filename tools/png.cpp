// The PNG writer and the nearest-neighbour scaler behind xpm2png.
#include "tools/png.h"

#include <algorithm>
#include <array>
#include <string>

namespace png {

namespace {

// Deflate's stored blocks carry at most this many bytes each.
constexpr std::size_t kMaxStoredBlock = 65535;

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1U) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

void PutU32(std::vector<unsigned char>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out.push_back(static_cast<unsigned char>(value >> shift));
  }
}

// Appends one chunk: length, type, data, and the CRC over type and data.
void PutChunk(std::vector<unsigned char>& out, const char (&type)[5],
              std::span<const unsigned char> data) {
  PutU32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t type_at = out.size();
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(type[i]));
  out.insert(out.end(), data.begin(), data.end());
  PutU32(out, Crc32(std::span(out).subspan(type_at)));
}

// A zlib stream holding `raw` in stored deflate blocks.
std::vector<unsigned char> StoredZlib(std::span<const unsigned char> raw) {
  std::vector<unsigned char> z;
  // CMF 0x78: deflate with a 32K window; FLG 0x01 makes CMF*256+FLG a
  // multiple of 31, as the header check requires, with no preset dictionary.
  z.push_back(0x78);
  z.push_back(0x01);
  std::size_t at = 0;
  do {
    const std::size_t length = std::min(kMaxStoredBlock, raw.size() - at);
    const bool last = at + length == raw.size();
    z.push_back(last ? 0x01 : 0x00);  // BFINAL, then BTYPE 00 (stored)
    const auto len = static_cast<std::uint16_t>(length);
    const auto nlen = static_cast<std::uint16_t>(~len);
    z.push_back(static_cast<unsigned char>(len & 0xFF));
    z.push_back(static_cast<unsigned char>(len >> 8));
    z.push_back(static_cast<unsigned char>(nlen & 0xFF));
    z.push_back(static_cast<unsigned char>(nlen >> 8));
    z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
             raw.begin() + static_cast<std::ptrdiff_t>(at + length));
    at += length;
  } while (at < raw.size());
  PutU32(z, Adler32(raw));
  return z;
}

}  // namespace

std::uint32_t Crc32(std::span<const unsigned char> bytes) {
  std::uint32_t c = 0xFFFFFFFFU;
  for (const unsigned char b : bytes) c = kCrcTable[(c ^ b) & 0xFFU] ^ (c >> 8);
  return c ^ 0xFFFFFFFFU;
}

std::uint32_t Adler32(std::span<const unsigned char> bytes) {
  constexpr std::uint32_t kMod = 65521;
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (const unsigned char byte : bytes) {
    a = (a + byte) % kMod;
    b = (b + a) % kMod;
  }
  return b << 16 | a;
}

Image Scale(const xpm::Xpm& image, int scale) {
  if (scale < 1) throw xpm::XpmError("scale " + std::to_string(scale) + " is below 1");
  if (image.width > kMaxSide / scale || image.height > kMaxSide / scale) {
    throw xpm::XpmError("scaled by " + std::to_string(scale) + " the image is larger than " +
                        std::to_string(kMaxSide) + " pixels a side");
  }
  Image out;
  out.width = image.width * scale;
  out.height = image.height * scale;
  out.pixels.reserve(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      const xpm::Colour& c = image.At(x / scale, y / scale);
      out.pixels.push_back(c.transparent ? Rgba{} : Rgba{c.red, c.green, c.blue, 0xFF});
    }
  }
  return out;
}

std::vector<unsigned char> MakePng(const Image& image) {
  if (image.width < 1 || image.height < 1 || image.width > kMaxSide || image.height > kMaxSide) {
    throw xpm::XpmError("a PNG of " + std::to_string(image.width) + "x" +
                        std::to_string(image.height) + " pixels is not written (1 to " +
                        std::to_string(kMaxSide) + " a side)");
  }
  const auto width = static_cast<std::size_t>(image.width);
  const auto height = static_cast<std::size_t>(image.height);
  if (image.pixels.size() != width * height) {
    throw xpm::XpmError(std::to_string(image.pixels.size()) + " pixels for a " +
                        std::to_string(image.width) + "x" + std::to_string(image.height) +
                        " image");
  }

  std::vector<unsigned char> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

  std::vector<unsigned char> header;
  PutU32(header, static_cast<std::uint32_t>(image.width));
  PutU32(header, static_cast<std::uint32_t>(image.height));
  // Bit depth 8, colour type 6 (RGBA), deflate, adaptive filtering, no interlace.
  header.insert(header.end(), {8, 6, 0, 0, 0});
  PutChunk(out, "IHDR", header);

  // Every row starts with its filter type; 0 (None) leaves the bytes as they are.
  std::vector<unsigned char> raw;
  raw.reserve(height * (1 + 4 * width));
  for (std::size_t y = 0; y < height; ++y) {
    raw.push_back(0);
    for (std::size_t x = 0; x < width; ++x) {
      const Rgba& p = image.pixels[y * width + x];
      raw.insert(raw.end(), {p.red, p.green, p.blue, p.alpha});
    }
  }
  PutChunk(out, "IDAT", StoredZlib(raw));
  PutChunk(out, "IEND", {});
  return out;
}

}  // namespace png
