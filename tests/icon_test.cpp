// The program icon: the committed XPM reads as a 32x32 image with a clear
// background, the .ico made from it holds the same pixels, and broken XPMs fail.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/xpm.h"

namespace {

using xpm::Colour;
using xpm::IcoSlots;
using xpm::MakeIco;
using xpm::ParseXpm;
using xpm::Xpm;
using xpm::XpmError;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << "cannot open " << path;
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

Xpm CommittedIcon() {
  return ParseXpm(ReadFile(std::string(BOTTLES_SOURCE_DIR) + "/app/icon/bottles.xpm"));
}

unsigned U16(const std::vector<unsigned char>& b, std::size_t at) {
  return unsigned{b.at(at)} | unsigned{b.at(at + 1)} << 8;
}

std::uint32_t U32(const std::vector<unsigned char>& b, std::size_t at) {
  return std::uint32_t{U16(b, at)} | std::uint32_t{U16(b, at + 2)} << 16;
}

// A reader of the one-image .ico MakeIco writes, going by its own header
// fields rather than by the sizes the writer is expected to use.
class IcoReader {
 public:
  explicit IcoReader(const std::vector<unsigned char>& bytes) : b_(bytes) {
    info_ = U32(b_, 18);
    const std::uint32_t header_size = U32(b_, info_);
    width_ = U32(b_, info_ + 4);
    height_ = U32(b_, info_ + 8) / 2;
    palette_ = info_ + header_size;
    xor_ = palette_ + 4 * 256;
    xor_stride_ = (width_ * 8 + 31) / 32 * 4;
    and_ = xor_ + xor_stride_ * height_;
    and_stride_ = (width_ + 31) / 32 * 4;
  }

  std::size_t info() const { return info_; }
  std::size_t end() const { return and_ + and_stride_ * height_; }

  Colour PaletteColour(std::size_t slot) const {
    const std::size_t at = palette_ + 4 * slot;
    return Colour{b_.at(at + 2), b_.at(at + 1), b_.at(at), false};
  }
  unsigned char PaletteReserved(std::size_t slot) const { return b_.at(palette_ + 4 * slot + 3); }

  // x and y count from the top-left, as in the XPM.
  unsigned char XorIndex(std::size_t x, std::size_t y) const {
    return b_.at(xor_ + (height_ - 1 - y) * xor_stride_ + x);
  }
  bool MaskBit(std::size_t x, std::size_t y) const {
    return (b_.at(and_ + (height_ - 1 - y) * and_stride_ + x / 8) & (0x80 >> (x % 8))) != 0;
  }

 private:
  const std::vector<unsigned char>& b_;
  std::size_t info_, width_, height_, palette_, xor_, xor_stride_, and_, and_stride_;
};

TEST(CommittedIconTest, Is32x32WithAtMost256Colours) {
  const Xpm icon = CommittedIcon();
  EXPECT_EQ(icon.width, 32);
  EXPECT_EQ(icon.height, 32);
  EXPECT_GE(icon.palette.size(), 2u);
  EXPECT_LE(icon.palette.size(), 256u);
  EXPECT_EQ(icon.pixels.size(), 32u * 32u);
}

TEST(CommittedIconTest, CornersAreClearAndMiddleIsOpaque) {
  const Xpm icon = CommittedIcon();
  ASSERT_EQ(icon.width, 32);
  ASSERT_EQ(icon.height, 32);
  EXPECT_TRUE(icon.At(0, 0).transparent);
  EXPECT_TRUE(icon.At(31, 0).transparent);
  EXPECT_TRUE(icon.At(0, 31).transparent);
  EXPECT_TRUE(icon.At(31, 31).transparent);
  for (int y = 4; y < 28; ++y) {
    EXPECT_FALSE(icon.At(16, y).transparent) << "row " << y;
  }
  for (int x = 4; x < 28; ++x) {
    EXPECT_FALSE(icon.At(x, 16).transparent) << "column " << x;
  }
}

TEST(CommittedIconTest, FillsMostOfTheSquare) {
  const Xpm icon = CommittedIcon();
  int opaque = 0;
  for (std::uint8_t index : icon.pixels) opaque += icon.palette.at(index).transparent ? 0 : 1;
  EXPECT_GT(opaque, 32 * 32 * 3 / 4);
}

TEST(IcoTest, HeaderOfTheCommittedIcon) {
  const std::vector<unsigned char> ico = MakeIco(CommittedIcon());
  ASSERT_GE(ico.size(), 22u + 40u);
  // ICONDIR
  EXPECT_EQ(U16(ico, 0), 0u);
  EXPECT_EQ(U16(ico, 2), 1u);
  EXPECT_EQ(U16(ico, 4), 1u);
  // ICONDIRENTRY
  EXPECT_EQ(ico[6], 32);
  EXPECT_EQ(ico[7], 32);
  EXPECT_EQ(ico[8], 0);  // 256 colours
  EXPECT_EQ(ico[9], 0);
  EXPECT_EQ(U16(ico, 10), 1u);
  EXPECT_EQ(U16(ico, 12), 8u);
  const std::uint32_t bytes_in_res = U32(ico, 14);
  const std::uint32_t offset = U32(ico, 18);
  EXPECT_EQ(offset, 22u);
  EXPECT_EQ(std::size_t{offset} + bytes_in_res, ico.size());
  // BITMAPINFOHEADER
  EXPECT_EQ(U32(ico, offset), 40u);
  EXPECT_EQ(U32(ico, offset + 4), 32u);
  EXPECT_EQ(U32(ico, offset + 8), 64u);
  EXPECT_EQ(U16(ico, offset + 12), 1u);
  EXPECT_EQ(U16(ico, offset + 14), 8u);
  EXPECT_EQ(U32(ico, offset + 16), 0u);
  // Palette, 32 rows of 32 index bytes, 32 rows of one 32-bit mask word.
  EXPECT_EQ(bytes_in_res, 40u + 256u * 4u + 32u * 32u + 32u * 4u);
  EXPECT_EQ(U32(ico, offset + 20), 32u * 32u + 32u * 4u);
  EXPECT_EQ(IcoReader(ico).end(), ico.size());
}

TEST(IcoTest, PaletteHoldsTheIconsColours) {
  const Xpm icon = CommittedIcon();
  const std::vector<unsigned char> ico = MakeIco(icon);
  const IcoReader reader(ico);
  // Slot 0 is the black behind transparent pixels; the opaque colours follow
  // in the XPM's order.
  EXPECT_EQ(reader.PaletteColour(0), (Colour{0, 0, 0, false}));
  std::size_t slot = 1;
  for (const Colour& colour : icon.palette) {
    if (colour.transparent) continue;
    EXPECT_EQ(reader.PaletteColour(slot), colour) << "slot " << slot;
    ++slot;
  }
  for (; slot < 256; ++slot) EXPECT_EQ(reader.PaletteColour(slot), (Colour{0, 0, 0, false}));
  for (std::size_t k = 0; k < 256; ++k) EXPECT_EQ(reader.PaletteReserved(k), 0);
}

TEST(IcoTest, ChosenPixelsOfTheCommittedIcon) {
  const Xpm icon = CommittedIcon();
  const std::vector<unsigned char> ico = MakeIco(icon);
  const std::size_t palette = 22 + 40;
  const std::size_t xor_bitmap = palette + 1024;
  const std::size_t and_mask = xor_bitmap + 32 * 32;

  // The top-left pixel is clear: it is the first byte of the last stored row.
  ASSERT_TRUE(icon.At(0, 0).transparent);
  EXPECT_EQ(ico.at(xor_bitmap + 31 * 32 + 0), 0);
  EXPECT_NE(ico.at(and_mask + 31 * 4 + 0) & 0x80, 0);
  // The bottom-right pixel is clear: the last bit of the first stored row.
  ASSERT_TRUE(icon.At(31, 31).transparent);
  EXPECT_EQ(ico.at(xor_bitmap + 0 * 32 + 31), 0);
  EXPECT_NE(ico.at(and_mask + 0 * 4 + 3) & 0x01, 0);

  // The middle pixel (16, 16) is opaque: image row 16 is stored row 15.
  ASSERT_FALSE(icon.At(16, 16).transparent);
  const unsigned char slot = ico.at(xor_bitmap + 15 * 32 + 16);
  EXPECT_EQ(slot, IcoSlots(icon).at(icon.Index(16, 16)));
  EXPECT_EQ(ico.at(and_mask + 15 * 4 + 2) & 0x80, 0);
  const std::size_t quad = palette + 4 * std::size_t{slot};
  EXPECT_EQ(ico.at(quad + 2), icon.At(16, 16).red);
  EXPECT_EQ(ico.at(quad + 1), icon.At(16, 16).green);
  EXPECT_EQ(ico.at(quad + 0), icon.At(16, 16).blue);
}

TEST(IcoTest, EveryPixelOfTheCommittedIconRoundTrips) {
  const Xpm icon = CommittedIcon();
  const std::vector<unsigned char> ico = MakeIco(icon);
  const IcoReader reader(ico);
  for (int y = 0; y < icon.height; ++y) {
    for (int x = 0; x < icon.width; ++x) {
      const std::size_t ux = static_cast<std::size_t>(x);
      const std::size_t uy = static_cast<std::size_t>(y);
      const Colour& colour = icon.At(x, y);
      EXPECT_EQ(reader.MaskBit(ux, uy), colour.transparent) << x << "," << y;
      if (colour.transparent) {
        EXPECT_EQ(reader.XorIndex(ux, uy), 0) << x << "," << y;
      } else {
        EXPECT_EQ(reader.PaletteColour(reader.XorIndex(ux, uy)), colour) << x << "," << y;
      }
    }
  }
}

// A 3x2 image, worked out by hand: rows of 3 pixels are padded to 4 bytes in
// the XOR bitmap and to one 32-bit word in the mask, bottom row first. The
// clear colour is listed second, so the opaque ones move up past slot 0.
TEST(IcoTest, SmallImageByteByByte) {
  const Xpm image = ParseXpm(
      "static const char* const x[] = {\n"
      "\"3 2 3 1\",\n"
      "\"r c #FF0000\",\n"
      "\"  c None\",\n"
      "\"b c #0000ff\",\n"
      "\"rb \",\n"
      "\"  r\"};\n");
  const std::vector<unsigned char> ico = MakeIco(image);
  const std::size_t bitmap_size = 2 * 4 + 2 * 4;
  ASSERT_EQ(ico.size(), 22u + 40u + 1024u + bitmap_size);
  EXPECT_EQ(ico[6], 3);
  EXPECT_EQ(ico[7], 2);
  EXPECT_EQ(U32(ico, 22 + 4), 3u);
  EXPECT_EQ(U32(ico, 22 + 8), 4u);
  EXPECT_EQ(U32(ico, 22 + 20), bitmap_size);

  const std::size_t palette = 62;
  const std::vector<unsigned char> first_slots(ico.begin() + palette, ico.begin() + palette + 12);
  EXPECT_EQ(first_slots, (std::vector<unsigned char>{0, 0, 0, 0,  0, 0, 0xFF, 0,  0xFF, 0, 0, 0}));

  const std::vector<unsigned char> bitmaps(ico.begin() + palette + 1024, ico.end());
  EXPECT_EQ(bitmaps, (std::vector<unsigned char>{
                         0, 0, 1, 0,     // XOR, bottom row "  r"
                         1, 2, 0, 0,     // XOR, top row "rb "
                         0xC0, 0, 0, 0,  // mask, bottom row: first two clear
                         0x20, 0, 0, 0,  // mask, top row: third clear
                     }));
}

TEST(IcoTest, NoTransparencyKeepsTheXpmOrder) {
  const Xpm image = ParseXpm("\"2 1 2 1\", \"a c white\", \"b c #102030\", \"ba\"");
  EXPECT_EQ(IcoSlots(image), (std::vector<std::uint8_t>{0, 1}));
  const std::vector<unsigned char> ico = MakeIco(image);
  const IcoReader reader(ico);
  EXPECT_EQ(reader.PaletteColour(0), (Colour{255, 255, 255, false}));
  EXPECT_EQ(reader.PaletteColour(1), (Colour{0x10, 0x20, 0x30, false}));
  EXPECT_EQ(reader.XorIndex(0, 0), 1);
  EXPECT_EQ(reader.XorIndex(1, 0), 0);
  EXPECT_FALSE(reader.MaskBit(0, 0));
  EXPECT_FALSE(reader.MaskBit(1, 0));
}

TEST(IcoTest, WideRowsSpillIntoTheNextMaskByte) {
  // 9 clear pixels then 1 opaque: mask bits 0xFF, 0x80; XOR rows 12 bytes.
  const Xpm image = ParseXpm("\"10 1 2 1\", \". c None\", \"x c black\", \".........x\"");
  const std::vector<unsigned char> ico = MakeIco(image);
  ASSERT_EQ(ico.size(), 22u + 40u + 1024u + 12u + 4u);
  const std::size_t mask = 22 + 40 + 1024 + 12;
  EXPECT_EQ(ico[mask], 0xFF);
  EXPECT_EQ(ico[mask + 1], 0x80);
  EXPECT_EQ(ico[mask + 2], 0);
  EXPECT_EQ(ico[22 + 40 + 1024 + 9], 1);
}

TEST(IcoTest, RejectsImagesAnIcoCannotHold) {
  Xpm too_wide;
  too_wide.width = 257;
  too_wide.height = 1;
  too_wide.palette = {Colour{1, 2, 3, false}};
  too_wide.pixels.assign(257, 0);
  EXPECT_THROW(MakeIco(too_wide), XpmError);

  Xpm short_pixels = too_wide;
  short_pixels.width = 2;
  EXPECT_THROW(MakeIco(short_pixels), XpmError);

  Xpm bad_index;
  bad_index.width = 1;
  bad_index.height = 1;
  bad_index.palette = {Colour{1, 2, 3, false}};
  bad_index.pixels = {1};
  EXPECT_THROW(MakeIco(bad_index), XpmError);
}

TEST(ParseXpmTest, TwoCharactersPerPixelAndColourForms) {
  const Xpm image = ParseXpm(
      "/* XPM */\n"
      "/* a \"quoted\" comment */\n"
      "static const char* const x[] = {\n"
      "// \"not a string\"\n"
      "\"3 2 4 2 0 0\",\n"
      "\"   c None\",\n"
      "\"ab c #0F8\",\n"
      "\"cd m black c #123456789ABC\",\n"
      "\"e  s edge c Yellow\",\n"
      "\"  abcd\",\n"
      "\"e \" \"  ab\"};\n");  // adjacent literals join
  ASSERT_EQ(image.width, 3);
  ASSERT_EQ(image.height, 2);
  ASSERT_EQ(image.palette.size(), 4u);
  EXPECT_TRUE(image.palette[0].transparent);
  EXPECT_EQ(image.palette[1], (Colour{0x00, 0xFF, 0x88, false}));
  EXPECT_EQ(image.palette[2], (Colour{0x12, 0x56, 0x9A, false}));
  EXPECT_EQ(image.palette[3], (Colour{255, 255, 0, false}));
  EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{0, 1, 2, 3, 0, 1}));
}

TEST(ParseXpmTest, NoneIsCaseInsensitiveAndEscapesAreRead) {
  const Xpm image = ParseXpm("\"2 1 2 1\", \"\\\" c none\", \"\\\\ c #000000\", \"\\\"\\\\\"");
  ASSERT_EQ(image.palette.size(), 2u);
  EXPECT_TRUE(image.palette[0].transparent);
  EXPECT_FALSE(image.palette[1].transparent);
  EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{0, 1}));
}

void ExpectRejected(const std::string& source) {
  EXPECT_THROW(ParseXpm(source), XpmError) << source;
}

TEST(ParseXpmTest, RejectsWrongHeaders) {
  ExpectRejected("");
  ExpectRejected("static int x;");
  ExpectRejected("\"1 1 1\", \"a c red\", \"a\"");
  ExpectRejected("\"1 1 1 1 0\", \"a c red\", \"a\"");
  ExpectRejected("\"1 one 1 1\", \"a c red\", \"a\"");
  ExpectRejected("\"1 -1 1 1\", \"a c red\", \"a\"");
  ExpectRejected("\"0 1 1 1\", \"a c red\", \"\"");
  ExpectRejected("\"1 1 0 1\", \"a\"");
  ExpectRejected("\"1 1 1 3\", \"abc c red\", \"abc\"");
  ExpectRejected("\"1 1 1 0\", \" c red\", \"\"");
}

TEST(ParseXpmTest, RejectsMissingOrMisshapenRows) {
  ExpectRejected("\"2 2 1 1\", \"a c red\", \"aa\"");
  ExpectRejected("\"2 2 1 1\", \"a c red\", \"aa\", \"aa\", \"aa\"");
  ExpectRejected("\"2 2 1 1\", \"a c red\", \"aa\", \"a\"");
  ExpectRejected("\"2 2 1 2\", \"aa c red\", \"aaaa\", \"aaa\"");
  ExpectRejected("\"2 1 3 1\", \"a c red\", \"b c blue\"");
}

TEST(ParseXpmTest, RejectsUnknownPixelKeys) {
  ExpectRejected("\"2 1 1 1\", \"a c red\", \"ab\"");
  ExpectRejected("\"1 1 1 2\", \"aa c red\", \"ab\"");
}

TEST(ParseXpmTest, RejectsBadColourLines) {
  ExpectRejected("\"1 1 1 1\", \"a x #FF0000\", \"a\"");     // unknown colour key
  ExpectRejected("\"1 1 1 1\", \"a x #FF0000 c red\", \"a\"");
  ExpectRejected("\"1 1 1 1\", \"a c\", \"a\"");             // key without a value
  ExpectRejected("\"1 1 1 1\", \"a m black\", \"a\"");       // no colour visual
  ExpectRejected("\"1 1 1 1\", \"a c #FF00\", \"a\"");       // odd digit count
  ExpectRejected("\"1 1 1 1\", \"a c #GG0000\", \"a\"");     // not hex
  ExpectRejected("\"1 1 1 1\", \"a c chartreuse\", \"a\"");  // unknown name
  ExpectRejected("\"1 1 2 1\", \"a c red\", \"a c blue\", \"a\"");  // key twice
  ExpectRejected("\"1 1 1 2\", \"a\", \"aa\"");              // line shorter than its key
}

TEST(ParseXpmTest, RejectsMoreThan256Colours) {
  std::string source = "\"1 1 257 2\",";
  for (int k = 0; k < 257; ++k) {
    source += "\"";
    source += static_cast<char>('A' + k / 26);
    source += static_cast<char>('a' + k % 26);
    source += " c #000000\",";
  }
  source += "\"Aa\"";
  ExpectRejected(source);
  // The same with 256 colours is fine, so the limit is what rejects it.
  std::string ok = "\"1 1 256 2\",";
  for (int k = 0; k < 256; ++k) {
    ok += "\"";
    ok += static_cast<char>('A' + k / 26);
    ok += static_cast<char>('a' + k % 26);
    ok += " c #000000\",";
  }
  ok += "\"Aa\"";
  EXPECT_EQ(ParseXpm(ok).palette.size(), 256u);
}

TEST(ParseXpmTest, RejectsBrokenCSource) {
  ExpectRejected("/* \"1 1 1 1\", \"a c red\", \"a\"");
  ExpectRejected("\"1 1 1 1\", \"a c red\", \"a");
  ExpectRejected("\"1 1 1 1\", \"a c red\", \"a\n\"");
  ExpectRejected("\"1 1 1 1\", \"a c red\", \"\\a\"");
}

}  // namespace
