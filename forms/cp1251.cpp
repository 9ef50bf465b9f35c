// The forms' texts between their encodings; see cp1251.h.
#include "forms/cp1251.h"

namespace forms {

std::u16string DecodeCp1251(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x80) {
      out.push_back(b);
    } else if (b >= 0xC0) {
      out.push_back(static_cast<char16_t>(0x410 + (b - 0xC0)));
    } else {
      out.push_back(cp1251_detail::kHigh[b - 0x80]);
    }
  }
  return out;
}

std::string EncodeCp1251(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    const int b = cp1251_detail::ByteOf(c);
    out.push_back(b < 0 ? '?' : static_cast<char>(b));
  }
  return out;
}

std::u16string DecodeUtf8(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i++]);
    const int extra = b < 0x80 ? 0 : b < 0xC2 ? -1 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : b < 0xF5 ? 3 : -1;
    // The second byte's range leaves out overlong forms, surrogates and what
    // lies past U+10FFFF.
    const unsigned low = b == 0xE0 ? 0xA0 : b == 0xF0 ? 0x90 : 0x80;
    const unsigned high = b == 0xED ? 0x9F : b == 0xF4 ? 0x8F : 0xBF;
    char32_t c = extra <= 0 ? b : b & (0x3Fu >> extra);
    int k = 0;
    for (; k < extra && i < text.size(); ++k, ++i) {
      const auto next = static_cast<unsigned char>(text[i]);
      if (next < (k == 0 ? low : 0x80) || next > (k == 0 ? high : 0xBF)) break;
      c = (c << 6) | (next & 0x3Fu);
    }
    if (extra < 0 || k < extra) c = 0xFFFD;
    if (c >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}

std::string EncodeUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    const bool pair = c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
    if (pair) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    const int extra = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    out.push_back(static_cast<char>(extra == 0 ? c : (0xFF00u >> (extra + 1)) | (c >> (6 * extra))));
    for (int k = extra - 1; k >= 0; --k) out.push_back(static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F)));
  }
  return out;
}

std::u16string WithLineFeeds(std::u16string_view text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' || i + 1 >= text.size() || text[i + 1] != u'\n') out += text[i];
  }
  return out;
}

std::string WithCrLf(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

}  // namespace forms
