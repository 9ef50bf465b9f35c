// The number texts of the board; see numbers.h.
#include "board/numbers.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "board/errors.h"

namespace board {

OverflowError::OverflowError()
    : RuntimeError(6, "Препълване: число извън допустимия обхват.") {}

FloatingPointError::FloatingPointError()
    : RuntimeError(16, "Грешка при изчисление с плаваща запетая.") {}

NoSuchElementError::NoSuchElementError()
    : RuntimeError(340, "Няма елемент с такъв индекс в масива от контроли.") {}

namespace {

bool IsSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The text without the characters ParseNumber skips.
std::string Compact(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (!IsSkipped(c)) out.push_back(c);
  }
  return out;
}

std::string WithExponentMark(std::string text) {
  for (char& c : text) {
    if (c == 'e') c = 'E';
  }
  return text;
}

}  // namespace

double ParseNumber(std::string_view text) {
  const std::string s = Compact(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';

  // The number is rebuilt without its sign for from_chars, which reads "."
  // whatever the locale. The decimal magnitude (position of the first
  // non-zero digit) tells an overflow from an underflow when it is out of
  // range.
  std::string number;
  bool any_digit = false;
  bool nonzero_seen = false;
  bool point_seen = false;
  long magnitude = 0;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (IsDigit(c)) {
      any_digit = true;
      if (c != '0') nonzero_seen = true;
      if (nonzero_seen && !point_seen) ++magnitude;
      if (!nonzero_seen && point_seen) --magnitude;
      number.push_back(c);
    } else if (c == '.' && !point_seen) {
      point_seen = true;
      number.push_back(c);
    } else {
      break;
    }
  }
  if (!any_digit) return 0.0;

  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    bool exponent_negative = false;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent_negative = s[j++] == '-';
    if (j < s.size() && IsDigit(s[j])) {
      number.push_back('e');
      if (exponent_negative) number.push_back('-');
      long exponent = 0;
      for (; j < s.size() && IsDigit(s[j]); ++j) {
        number.push_back(s[j]);
        if (exponent < 100000) exponent = exponent * 10 + (s[j] - '0');
      }
      magnitude += exponent_negative ? -exponent : exponent;
    }
  }

  double value = 0.0;
  const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value,
                                         std::chars_format::general);
  (void)end;
  if (ec == std::errc::result_out_of_range) {
    if (nonzero_seen && magnitude > 0) throw OverflowError();
    value = 0.0;
  }
  return negative ? -value : value;
}

std::string NumberText(double value) {
  if (value == 0.0) value = 0.0;  // no "-0"
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    std::chars_format::general, 15);
  return WithExponentMark(std::string(buffer, result.ptr));
}

std::string VolumeText(float value, char decimal_separator) {
  if (value == 0.0f) value = 0.0f;
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    std::chars_format::general, 7);
  std::string text = WithExponentMark(std::string(buffer, result.ptr));
  for (char& c : text) {
    if (c == '.') c = decimal_separator;
  }
  return text;
}

std::int16_t ToInt16(double value) {
  if (!(value > -32768.5 - 1.0 && value < 32767.5 + 1.0)) throw OverflowError();
  double rounded = std::floor(value);
  const double fraction = value - rounded;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0.0)) rounded += 1.0;
  if (rounded < -32768.0 || rounded > 32767.0) throw OverflowError();
  return static_cast<std::int16_t>(rounded);
}

float ToSingle(double value) {
  // Doubles from here up round to infinity as singles.
  constexpr double kSingleOverflow = 0x1.ffffffp127;
  if (!std::isfinite(value) || std::fabs(value) >= kSingleOverflow) throw FloatingPointError();
  return static_cast<float>(value);
}

}  // namespace board
