// The forms' texts: Windows-1251, the code page they are stored in, UTF-16 as
// toolkits take them, UTF-8 as errors carry them. Texts are decoded
// explicitly, never through the system's code page, so that the Cyrillic is
// right on any locale. Literals written in UTF-8 in the source are encoded
// at compile time: forms::cp1251<"Пълна"> is a Windows-1251 C string.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace forms {

std::u16string DecodeCp1251(std::string_view text);
// Characters with no Windows-1251 form become "?".
std::string EncodeCp1251(std::u16string_view text);

// UTF-8 and UTF-16. What is not well-formed (a stray or missing continuation
// byte, an overlong form, a surrogate, past U+10FFFF; a lone surrogate in
// UTF-16) becomes U+FFFD, one for each longest ill-formed part.
std::u16string DecodeUtf8(std::string_view text);
std::string EncodeUtf8(std::u16string_view text);

// A multi-line text as toolkits show it, with plain line feeds, and as the
// form stores it, with CR LF.
std::u16string WithLineFeeds(std::u16string_view text);
std::string WithCrLf(std::string_view text);

namespace cp1251_detail {

// The characters of bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F.
inline constexpr char16_t kHigh[64] = {
    u'\u0402', u'\u0403', u'\u201A', u'\u0453', u'\u201E', u'\u2026', u'\u2020', u'\u2021', u'\u20AC', u'\u2030',
    u'\u0409', u'\u2039', u'\u040A', u'\u040C', u'\u040B', u'\u040F', u'\u0452', u'\u2018', u'\u2019', u'\u201C',
    u'\u201D', u'\u2022', u'\u2013', u'\u2014', u'\u0098', u'\u2122', u'\u0459', u'\u203A', u'\u045A', u'\u045C',
    u'\u045B', u'\u045F', u'\u00A0', u'\u040E', u'\u045E', u'\u0408', u'\u00A4', u'\u0490', u'\u00A6', u'\u00A7',
    u'\u0401', u'\u00A9', u'\u0404', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u0407', u'\u00B0', u'\u00B1',
    u'\u0406', u'\u0456', u'\u0491', u'\u00B5', u'\u00B6', u'\u00B7', u'\u0451', u'\u2116', u'\u0454', u'\u00BB',
    u'\u0458', u'\u0405', u'\u0455', u'\u0457',
};

// The byte for a character, or -1 when Windows-1251 has none.
constexpr int ByteOf(char32_t c) {
  if (c < 0x80) return static_cast<int>(c);
  if (c >= 0x410 && c <= 0x44F) return static_cast<int>(c - 0x410 + 0xC0);
  for (int i = 0; i < 64; ++i) {
    if (kHigh[i] == c) return 0x80 + i;
  }
  return -1;
}

template <std::size_t N>
struct Utf8Literal {
  char bytes[N];
  consteval Utf8Literal(const char (&s)[N]) {  // NOLINT: implicit on purpose
    for (std::size_t i = 0; i < N; ++i) bytes[i] = s[i];
  }
};

// Decodes the UTF-8 sequence at bytes[i] into c and returns the index after
// it; a malformed literal does not compile.
template <std::size_t N>
consteval std::size_t NextCodePoint(const char (&s)[N], std::size_t i, char32_t& c) {
  const auto b = static_cast<unsigned char>(s[i]);
  const int extra = b < 0x80 ? 0 : b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : -1;
  if (extra < 0 || i + 1 + static_cast<std::size_t>(extra) >= N) throw "malformed UTF-8";
  c = extra == 0 ? b : b & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    c = (c << 6) | (static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]) & 0x3F);
  }
  return i + 1 + static_cast<std::size_t>(extra);
}

template <std::size_t N>
consteval std::size_t CountCodePoints(const char (&s)[N]) {
  std::size_t count = 0;
  char32_t c = 0;
  for (std::size_t i = 0; i + 1 < N; ++count) i = NextCodePoint(s, i, c);
  return count;
}

template <Utf8Literal S>
consteval auto Encode() {
  std::array<char, CountCodePoints(S.bytes) + 1> out{};
  std::size_t n = 0;
  char32_t c = 0;
  for (std::size_t i = 0; i + 1 < sizeof S.bytes;) {
    i = NextCodePoint(S.bytes, i, c);
    const int b = ByteOf(c);
    if (b < 0) throw "character not in Windows-1251";
    out[n++] = static_cast<char>(b);
  }
  return out;
}

template <Utf8Literal S>
inline constexpr auto kEncoded = Encode<S>();

}  // namespace cp1251_detail

template <cp1251_detail::Utf8Literal S>
inline constexpr const char* cp1251 = cp1251_detail::kEncoded<S>.data();

}  // namespace forms
