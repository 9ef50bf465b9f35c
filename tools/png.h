// Writes images as PNG files, for the icons of the Linux desktop entry, and
// scales the XPM icon up by whole numbers with nearest-neighbour sampling.
// Standard library only: the pixels go in uncompressed ("stored") deflate blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "tools/xpm.h"

namespace png {

// The largest side MakePng accepts; far above any icon, and it keeps the
// image data well inside what a 32-bit chunk length can describe.
inline constexpr int kMaxSide = 4096;

struct Rgba {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t alpha = 0;

  friend bool operator==(const Rgba&, const Rgba&) = default;
};

struct Image {
  int width = 0;
  int height = 0;
  // Row by row from the top, width * height entries.
  std::vector<Rgba> pixels;
};

// The CRC-32 of PNG chunks (ISO 3309, the one zlib and gzip use too).
std::uint32_t Crc32(std::span<const unsigned char> bytes);

// The Adler-32 checksum that ends a zlib stream.
std::uint32_t Adler32(std::span<const unsigned char> bytes);

// The XPM drawn `scale` times larger, each source pixel becoming a
// scale x scale square, so that pixel art keeps its hard edges. "None" pixels
// become fully transparent black. Raises xpm::XpmError when the scale is below
// 1 or the result would be larger than kMaxSide.
Image Scale(const xpm::Xpm& image, int scale);

// The bytes of a PNG file holding the image as 8-bit RGBA, not interlaced.
// Raises xpm::XpmError for an empty or too large image, or one whose pixel
// count does not match its size.
std::vector<unsigned char> MakePng(const Image& image);

}  // namespace png
