// libFuzzer target for the number texts: ParseNumber against a reader of its
// own written here, the round trips of counts and volumes through their
// texts, and ToInt16 against a rounding done by the C library.
#include <locale.h>

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "board/errors.h"
#include "board/numbers.h"

namespace {

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "numbers_fuzz mismatch: %s\n", what.c_str());
  std::abort();
}

std::string Show(std::string_view text) {
  std::string out;
  for (unsigned char c : text) {
    char buffer[8];
    if (c >= 0x20 && c < 0x7f && c != '\\') {
      out.push_back(static_cast<char>(c));
    } else {
      std::snprintf(buffer, sizeof buffer, "\\x%02x", c);
      out += buffer;
    }
  }
  return "'" + out + "'";
}

std::string Hex(double d) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%a", d);
  return buffer;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
  return c;
}

struct Reading {
  bool overflow = false;
  double value = 0.0;
};

// The reader's rules, scanned afresh: the skipped characters go first, then
// the longest prefix that is a number is cut out and handed to strtod in the
// "C" locale, which rounds it correctly.
Reading ReferenceRead(std::string_view text) {
  std::string s;
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\n') s.push_back(c);
  }
  std::string number;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) number.push_back(s[i++]);
  bool digits = false;
  bool point = false;
  for (; i < s.size(); ++i) {
    if (IsDigit(s[i])) {
      digits = true;
    } else if (s[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
    number.push_back(s[i]);
  }
  if (!digits) return {};
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::string exponent = "e";
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent.push_back(s[j++]);
    if (j < s.size() && IsDigit(s[j])) {
      while (j < s.size() && IsDigit(s[j])) exponent.push_back(s[j++]);
      number += exponent;  // an exponent without digits is no part of it
    }
  }
  errno = 0;
  char* end = nullptr;
  const double value = strtod_l(number.c_str(), &end, CLocale());
  if (end != number.c_str() + number.size()) Fail("strtod did not take all of " + Show(number));
  if (errno == ERANGE && std::isinf(value)) return {true, 0.0};
  return {false, value};  // an underflow is a small number or zero, not an error
}

Reading BoardRead(std::string_view text) {
  try {
    return {false, board::ParseNumber(text)};
  } catch (const board::OverflowError&) {
    return {true, 0.0};
  }
}

void CheckParse(std::string_view text) {
  const Reading want = ReferenceRead(text);
  const Reading got = BoardRead(text);
  if (want.overflow != got.overflow) {
    Fail("ParseNumber(" + Show(text) + ") overflow " + std::to_string(got.overflow) + ", want " +
         std::to_string(want.overflow));
  }
  if (!want.overflow && !SameBits(want.value, got.value)) {
    Fail("ParseNumber(" + Show(text) + ") = " + Hex(got.value) + ", want " + Hex(want.value));
  }
}

// A count or any double of at most 15 significant digits reads back exactly.
void CheckNumberText(double d) {
  if (!std::isfinite(d)) return;
  const std::string text = board::NumberText(d);
  const Reading back = BoardRead(text);
  if (back.overflow || back.value != d) {
    Fail("ParseNumber(NumberText(" + Hex(d) + ")) of " + Show(text) + " = " + Hex(back.value));
  }
  if (text.find_first_of(" \t\n,") != std::string::npos) Fail("NumberText gave " + Show(text));
}

// The texts are printf's general format in the "C" locale, which the C
// library rounds from the exact value, halves to even.
void CheckAgainstPrintf(double d, float f) {
  char buffer[64];
  if (std::isfinite(d) && d != 0.0) {
    std::snprintf(buffer, sizeof buffer, "%.15G", d);
    const std::string text = board::NumberText(d);
    if (text != buffer) Fail("NumberText(" + Hex(d) + ") = " + Show(text) + ", printf says " + buffer);
  }
  if (std::isfinite(f) && f != 0.0f) {
    std::snprintf(buffer, sizeof buffer, "%.7G", static_cast<double>(f));
    const std::string text = board::VolumeText(f, ".");
    if (text != buffer) Fail("VolumeText(" + Hex(f) + ") = " + Show(text) + ", printf says " + buffer);
  }
}

double Through15Digits(double x) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", x);
  return strtod_l(buffer, nullptr, CLocale());
}

// Seven digits identify a float only up to rounding: near 1 a unit of the
// seventh digit spans eight floats. What reads back is within half a unit of
// that digit of f, and it is f itself whenever the correctly rounded
// seven-digit text reads back as f, which is always so for a float that came
// from a text of at most 6 digits.
void CheckVolumeText(float f) {
  if (!std::isfinite(f)) return;
  const std::string text = board::VolumeText(f, ".");
  const Reading back = BoardRead(text);
  if (back.overflow) Fail("VolumeText(" + Hex(f) + ") = " + Show(text) + " overflows");

  int significant = 0;
  bool leading = true;
  for (char c : text) {
    if (c == 'E') break;
    if (!IsDigit(c)) continue;
    if (c != '0') leading = false;
    if (!leading) ++significant;
  }
  if (significant > 7) Fail("VolumeText(" + Hex(f) + ") = " + Show(text) + " has more than 7 digits");

  const auto as_float = static_cast<float>(back.value);
  if (f != 0.0f) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6e", static_cast<double>(f));
    const int exponent = std::atoi(std::strchr(buffer, 'e') + 1);
    // The slack covers the rounding of this arithmetic in doubles at an exact tie.
    const double half_unit = 0.5 * std::pow(10.0, exponent - 6) * (1 + 1e-6);
    if (std::fabs(back.value - static_cast<double>(f)) > half_unit) {
      Fail("VolumeText(" + Hex(f) + ") = " + Show(text) + " is off by more than half a unit");
    }
  } else if (back.value != 0.0) {
    Fail("VolumeText(0) = " + Show(text));
  }

  char seven[64];
  std::snprintf(seven, sizeof seven, "%.7g", static_cast<double>(f));
  const bool seven_digits_suffice = static_cast<float>(strtod_l(seven, nullptr, CLocale())) == f;
  if (seven_digits_suffice && as_float != f) {
    Fail("VolumeText(" + Hex(f) + ") = " + Show(text) + " reads back as " + Hex(as_float) + " though " + seven +
         " reads back exactly");
  }
}

float Through6Digits(float f) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.6g", static_cast<double>(f));
  return static_cast<float>(strtod_l(buffer, nullptr, CLocale()));
}

void CheckToInt16(double v) {
  bool want_overflow = std::isnan(v);
  double want = 0.0;
  if (!want_overflow) {
    want = std::nearbyint(v);  // the default rounding mode rounds halves to even
    want_overflow = want < -32768.0 || want > 32767.0;
  }
  bool got_overflow = false;
  int got = 0;
  try {
    got = board::ToInt16(v);
  } catch (const board::OverflowError&) {
    got_overflow = true;
  }
  if (got_overflow != want_overflow || (!want_overflow && got != static_cast<int>(want))) {
    Fail("ToInt16(" + Hex(v) + ") = " + (got_overflow ? "overflow" : std::to_string(got)) + ", want " +
         (want_overflow ? "overflow" : std::to_string(static_cast<int>(want))));
  }
}

template <class T>
T Load(const std::uint8_t* data, std::size_t size) {
  unsigned char bytes[sizeof(T)] = {};
  std::memcpy(bytes, data, size < sizeof bytes ? size : sizeof bytes);
  T value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckParse(text);

  // The same bytes as numbers: raw bits, whole counts and small fractions.
  const auto raw = Load<double>(data, size);
  const auto bits = Load<std::uint64_t>(data, size);
  CheckNumberText(Through15Digits(raw));
  const auto whole = static_cast<double>(bits % 1'000'000'000'000'001ull);
  CheckNumberText((bits >> 63) ? -whole : whole);
  const Reading read = ReferenceRead(text);
  if (!read.overflow) CheckNumberText(Through15Digits(read.value));

  const auto raw_float = Load<float>(data, size);
  CheckAgainstPrintf(raw, raw_float);
  if (!read.overflow && std::fabs(read.value) <= FLT_MAX)
    CheckAgainstPrintf(read.value, static_cast<float>(read.value));
  CheckVolumeText(raw_float);
  CheckVolumeText(Through6Digits(raw_float));
  CheckVolumeText(static_cast<float>(bits % 43) / 2.0f);  // the volumes a table can hold

  CheckToInt16(raw);
  CheckToInt16(static_cast<double>(static_cast<std::int32_t>(bits)) / 2.0);
  CheckToInt16(static_cast<double>(static_cast<std::int32_t>(bits >> 32)) / 65536.0);
  if (!read.overflow) CheckToInt16(read.value);
  return 0;
}
