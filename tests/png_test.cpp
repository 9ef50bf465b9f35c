// The PNG icons: the writer's checksums, and its files read back by a small
// decoder written here (chunks, CRCs, zlib stored blocks, Adler-32, rows),
// holding the committed XPM's pixels at every scale; bad sizes fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tools/png.h"
#include "tools/xpm.h"

namespace {

using png::Image;
using png::Rgba;

std::span<const unsigned char> Bytes(std::string_view text) {
  return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << "cannot open " << path;
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

xpm::Xpm CommittedIcon() {
  return xpm::ParseXpm(ReadFile(std::string(BOTTLES_SOURCE_DIR) + "/app/icon/bottles.xpm"));
}

// Bit by bit, without the writer's table, so that a wrong table shows.
std::uint32_t SlowCrc(std::span<const unsigned char> bytes) {
  std::uint32_t c = 0xFFFFFFFFU;
  for (const unsigned char b : bytes) {
    c ^= b;
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320U & (0U - (c & 1U)));
  }
  return ~c;
}

std::uint32_t BigEndian(const std::vector<unsigned char>& b, std::size_t at) {
  return std::uint32_t{b.at(at)} << 24 | std::uint32_t{b.at(at + 1)} << 16 |
         std::uint32_t{b.at(at + 2)} << 8 | std::uint32_t{b.at(at + 3)};
}

struct Decoded {
  Image image;
  std::vector<std::string> chunks;       // chunk types in file order
  std::vector<std::size_t> block_sizes;  // of the stored deflate blocks
};

// Reads what MakePng writes; records a test failure and stops at the first
// thing it does not accept. Only stored deflate blocks and filter 0 are taken.
Decoded Decode(const std::vector<unsigned char>& file) {
  Decoded d;
  const std::vector<unsigned char> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  EXPECT_TRUE(file.size() >= 8 && std::equal(signature.begin(), signature.end(), file.begin()))
      << "no PNG signature";
  std::vector<unsigned char> idat;
  std::size_t at = 8;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  while (at < file.size()) {
    const std::uint32_t length = BigEndian(file, at);
    EXPECT_LE(at + 12 + length, file.size()) << "chunk runs past the end";
    if (at + 12 + length > file.size()) return d;
    const std::string type(file.begin() + static_cast<std::ptrdiff_t>(at + 4),
                           file.begin() + static_cast<std::ptrdiff_t>(at + 8));
    d.chunks.push_back(type);
    const std::span<const unsigned char> typed(file.data() + at + 4, length + 4);
    EXPECT_EQ(BigEndian(file, at + 8 + length), SlowCrc(typed)) << "bad CRC on " << type;
    const auto data = file.begin() + static_cast<std::ptrdiff_t>(at + 8);
    if (type == "IHDR") {
      EXPECT_EQ(length, 13U);
      width = BigEndian(file, at + 8);
      height = BigEndian(file, at + 12);
      EXPECT_EQ(file[at + 16], 8) << "bit depth";
      EXPECT_EQ(file[at + 17], 6) << "colour type";
      EXPECT_EQ(file[at + 18], 0) << "compression";
      EXPECT_EQ(file[at + 19], 0) << "filter method";
      EXPECT_EQ(file[at + 20], 0) << "interlace";
    } else if (type == "IDAT") {
      idat.insert(idat.end(), data, data + length);
    }
    at += 12 + length;
  }
  EXPECT_EQ(at, file.size());

  EXPECT_GE(idat.size(), 6U);
  if (idat.size() < 6) return d;
  EXPECT_EQ(idat[0] & 0x0F, 8) << "not deflate";
  EXPECT_EQ((idat[0] * 256U + idat[1]) % 31U, 0U) << "zlib header check";
  EXPECT_EQ(idat[1] & 0x20, 0) << "preset dictionary";
  std::vector<unsigned char> raw;
  std::size_t z = 2;
  for (bool last = false; !last;) {
    EXPECT_LE(z + 5, idat.size()) << "deflate data cut short";
    if (z + 5 > idat.size()) return d;
    last = (idat[z] & 1) != 0;
    EXPECT_EQ(idat[z] >> 1, 0) << "a block that is not stored";
    if ((idat[z] >> 1) != 0) return d;
    const unsigned len = idat[z + 1] | unsigned{idat[z + 2]} << 8;
    const unsigned nlen = idat[z + 3] | unsigned{idat[z + 4]} << 8;
    EXPECT_EQ(len ^ 0xFFFFU, nlen) << "LEN and NLEN disagree";
    z += 5;
    EXPECT_LE(z + len, idat.size());
    if (z + len > idat.size()) return d;
    raw.insert(raw.end(), idat.begin() + static_cast<std::ptrdiff_t>(z),
               idat.begin() + static_cast<std::ptrdiff_t>(z + len));
    d.block_sizes.push_back(len);
    z += len;
  }
  EXPECT_EQ(z + 4, idat.size()) << "bytes after the deflate data";
  EXPECT_EQ(BigEndian(idat, z), png::Adler32(raw));

  const std::size_t row = 1 + 4 * std::size_t{width};
  EXPECT_EQ(raw.size(), row * height);
  if (raw.size() != row * height) return d;
  d.image.width = static_cast<int>(width);
  d.image.height = static_cast<int>(height);
  for (std::size_t y = 0; y < height; ++y) {
    EXPECT_EQ(raw[y * row], 0) << "filter of row " << y;
    for (std::size_t x = 0; x < width; ++x) {
      const unsigned char* p = &raw[y * row + 1 + 4 * x];
      d.image.pixels.push_back({p[0], p[1], p[2], p[3]});
    }
  }
  return d;
}

Rgba Expected(const xpm::Colour& c) {
  return c.transparent ? Rgba{0, 0, 0, 0} : Rgba{c.red, c.green, c.blue, 255};
}

TEST(PngChecksums, MatchTheirPublishedCheckValues) {
  EXPECT_EQ(png::Crc32(Bytes("123456789")), 0xCBF43926U);
  EXPECT_EQ(png::Crc32(Bytes("")), 0U);
  EXPECT_EQ(png::Adler32(Bytes("Wikipedia")), 0x11E60398U);
  EXPECT_EQ(png::Adler32(Bytes("")), 1U);
}

TEST(PngChecksums, CrcAgreesWithABitwiseCrcOnEveryByteValue) {
  std::vector<unsigned char> all;
  for (int i = 0; i < 256; ++i) all.push_back(static_cast<unsigned char>(255 - i));
  EXPECT_EQ(png::Crc32(all), SlowCrc(all));
}

TEST(PngChecksums, AdlerWrapsItsSumsModulo65521) {
  // Long enough for both sums to pass the modulus many times over.
  const std::vector<unsigned char> ones(100000, 0xFF);
  std::uint64_t a = 1;
  std::uint64_t b = 0;
  for (const unsigned char byte : ones) {
    a += byte;
    b += a;
  }
  EXPECT_EQ(png::Adler32(ones), (b % 65521) << 16 | (a % 65521));
}

TEST(PngIcon, HoldsTheXpmPixelsAtEachScale) {
  const xpm::Xpm icon = CommittedIcon();
  for (const int scale : {1, 2, 4}) {
    SCOPED_TRACE("scale " + std::to_string(scale));
    const Decoded d = Decode(png::MakePng(png::Scale(icon, scale)));
    EXPECT_EQ(d.chunks, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    ASSERT_EQ(d.image.width, 32 * scale);
    ASSERT_EQ(d.image.height, 32 * scale);
    int clear = 0;
    int wrong = 0;
    for (int y = 0; y < d.image.height; ++y) {
      for (int x = 0; x < d.image.width; ++x) {
        const Rgba got = d.image.pixels[static_cast<std::size_t>(y * d.image.width + x)];
        if (got != Expected(icon.At(x / scale, y / scale))) ++wrong;
        if (got.alpha == 0) ++clear;
      }
    }
    EXPECT_EQ(wrong, 0);
    // A clear background around an opaque drawing, as the XPM has it.
    EXPECT_GT(clear, 0);
    EXPECT_LT(clear, d.image.width * d.image.height);
    EXPECT_EQ(d.image.pixels.front().alpha, 0);
  }
}

Image Gradient(int width, int height) {
  Image image{width, height, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.pixels.push_back({static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                              static_cast<std::uint8_t>(x ^ y), static_cast<std::uint8_t>(x + y)});
    }
  }
  return image;
}

TEST(PngWriter, SplitsTheDataIntoStoredBlocksOfAtMost65535Bytes) {
  // 255 rows of 1 + 4 * 64 bytes fill one block exactly; one row more spills.
  const Decoded exact = Decode(png::MakePng(Gradient(64, 255)));
  EXPECT_EQ(exact.block_sizes, (std::vector<std::size_t>{65535}));
  const Decoded spilt = Decode(png::MakePng(Gradient(64, 256)));
  EXPECT_EQ(spilt.block_sizes, (std::vector<std::size_t>{65535, 257}));

  const Image big = Gradient(300, 300);
  const Decoded d = Decode(png::MakePng(big));
  EXPECT_EQ(d.block_sizes.size(), 6U);
  EXPECT_EQ(d.image.width, 300);
  EXPECT_EQ(d.image.height, 300);
  EXPECT_TRUE(d.image.pixels == big.pixels);
}

TEST(PngWriter, WritesASinglePixel) {
  const Decoded d = Decode(png::MakePng(Image{1, 1, {{1, 2, 3, 4}}}));
  EXPECT_EQ(d.block_sizes, (std::vector<std::size_t>{5}));
  EXPECT_TRUE(d.image.pixels == (std::vector<Rgba>{{1, 2, 3, 4}}));
}

TEST(PngWriter, RefusesBadSizes) {
  EXPECT_THROW(png::MakePng(Image{}), xpm::XpmError);
  EXPECT_THROW(png::MakePng(Image{2, 2, std::vector<Rgba>(3)}), xpm::XpmError);
  EXPECT_THROW(png::MakePng(Image{png::kMaxSide + 1, 1, std::vector<Rgba>(png::kMaxSide + 1)}),
               xpm::XpmError);
}

TEST(PngScale, RefusesScalesBelowOneAndResultsTooLarge) {
  const xpm::Xpm icon = CommittedIcon();
  EXPECT_THROW(png::Scale(icon, 0), xpm::XpmError);
  EXPECT_THROW(png::Scale(icon, -2), xpm::XpmError);
  EXPECT_EQ(png::Scale(icon, png::kMaxSide / 32).width, png::kMaxSide);
  EXPECT_THROW(png::Scale(icon, png::kMaxSide / 32 + 1), xpm::XpmError);
}

}  // namespace
