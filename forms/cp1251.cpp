// Windows-1251 to UTF-16 and back; see cp1251.h.
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

}  // namespace forms
