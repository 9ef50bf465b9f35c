// The number texts of the board; see numbers.h.
#include "board/numbers.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

#include "board/errors.h"

namespace board {

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

// A non-negative whole number of any size, in base 2^32 from the lowest limb.
// The number texts are worked out from a double's exact decimal value with
// it: std::to_chars with a precision would do the same, but brings tables of
// some 190 KB into a statically linked program.
class BigNumber {
 public:
  explicit BigNumber(std::uint64_t n) {
    limbs_.push_back(static_cast<std::uint32_t>(n));
    limbs_.push_back(static_cast<std::uint32_t>(n >> 32));
    Trim();
  }

  void Multiply(std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (std::uint32_t& limb : limbs_) {
      const std::uint64_t product = std::uint64_t{limb} * factor + carry;
      limb = static_cast<std::uint32_t>(product);
      carry = product >> 32;
    }
    if (carry != 0) limbs_.push_back(static_cast<std::uint32_t>(carry));
  }

  // Decimal digits, most significant first, without leading zeros.
  std::string Digits() const {
    std::vector<std::uint32_t> n = limbs_;
    std::string reversed;
    while (!n.empty()) {
      std::uint64_t remainder = 0;
      for (std::size_t i = n.size(); i-- > 0;) {
        const std::uint64_t current = (remainder << 32) | n[i];
        n[i] = static_cast<std::uint32_t>(current / 1'000'000'000u);
        remainder = current % 1'000'000'000u;
      }
      while (!n.empty() && n.back() == 0) n.pop_back();
      for (int i = 0; i < 9 && (!n.empty() || remainder != 0); ++i) {
        reversed.push_back(static_cast<char>('0' + remainder % 10));
        remainder /= 10;
      }
    }
    return {reversed.rbegin(), reversed.rend()};
  }

 private:
  void Trim() {
    while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
  }
  std::vector<std::uint32_t> limbs_;
};

// The general number text of a finite, non-zero |value| with `precision`
// significant digits, as printf's "%.{precision}G" writes it in the "C"
// locale: the exact value rounded, halves to even; exponent form for a
// decimal exponent below -4 or from `precision` up; no trailing zeros.
std::string GeneralText(double value, int precision) {
  int binary_exponent = 0;
  const double fraction = std::frexp(std::fabs(value), &binary_exponent);
  auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  binary_exponent -= 53;
  while ((mantissa & 1) == 0) {
    mantissa >>= 1;
    ++binary_exponent;
  }
  // value = mantissa * 2^e; for e < 0 that is mantissa * 5^-e / 10^-e.
  BigNumber n(mantissa);
  int decimal_shift = 0;
  while (binary_exponent > 0) {
    const int twos = std::min(binary_exponent, 31);
    n.Multiply(std::uint32_t{1} << twos);
    binary_exponent -= twos;
  }
  while (binary_exponent < 0) {
    const int fives = std::min(-binary_exponent, 13);  // 5^13 < 2^32
    std::uint32_t factor = 1;
    for (int i = 0; i < fives; ++i) factor *= 5;
    n.Multiply(factor);
    decimal_shift += fives;
    binary_exponent += fives;
  }
  std::string digits = n.Digits();
  int exponent = static_cast<int>(digits.size()) - 1 - decimal_shift;

  const auto p = static_cast<std::size_t>(precision);
  if (digits.size() > p) {
    const char next = digits[p];
    const bool beyond_half = digits.find_first_not_of('0', p + 1) != std::string::npos;
    const bool odd = (digits[p - 1] - '0') % 2 != 0;
    digits.resize(p);
    if (next > '5' || (next == '5' && (beyond_half || odd))) {
      std::size_t i = p;
      while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
      if (i == 0) {
        digits[0] = '1';  // all nines: 10...0, one place up
        ++exponent;
      } else {
        ++digits[i - 1];
      }
    }
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  // Built by appending alone: g++ 12 at -O3 sees overlaps in the inserts
  // and concatenations of short strings that are not there (-Wrestrict).
  std::string text;
  if (value < 0) text.push_back('-');
  if (exponent < -4 || exponent >= precision) {
    text.push_back(digits[0]);
    if (digits.size() > 1) {
      text.push_back('.');
      text.append(digits, 1);
    }
    text.append(exponent < 0 ? "E-" : "E+");
    const int magnitude = std::abs(exponent);
    if (magnitude < 10) text.push_back('0');
    text.append(std::to_string(magnitude));
  } else if (exponent < 0) {
    text.append("0.");
    text.append(static_cast<std::size_t>(-exponent - 1), '0');
    text.append(digits);
  } else {
    const auto whole = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= whole) {
      text.append(digits);
      text.append(whole - digits.size(), '0');
    } else {
      text.append(digits, 0, whole);
      text.push_back('.');
      text.append(digits, whole);
    }
  }
  return text;
}

// What the general format writes for the values without digits.
std::string SpecialText(double value) {
  if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
  return value < 0 ? "-inf" : "inf";
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
#if defined(__cpp_lib_to_chars)
  const auto [end, ec] =
      std::from_chars(number.data(), number.data() + number.size(), value, std::chars_format::general);
  (void)end;
  const bool out_of_range = ec == std::errc::result_out_of_range;
#else
  // A C++ library without from_chars for doubles (Emscripten's): strtod,
  // whose locale there is always "C".
  errno = 0;
  value = std::strtod(number.c_str(), nullptr);
  const bool out_of_range = errno == ERANGE;
#endif
  if (out_of_range) {
    if (nonzero_seen && magnitude > 0) throw OverflowError();
    value = 0.0;
  }
  return negative ? -value : value;
}

std::string NumberText(double value) {
  if (value == 0.0) return "0";  // no "-0"
  if (!std::isfinite(value)) return SpecialText(value);
  return GeneralText(value, 15);
}

std::string VolumeText(float value, std::string_view decimal_separator) {
  if (value == 0.0f) return "0";
  if (!std::isfinite(value)) return SpecialText(value);
  std::string text = GeneralText(static_cast<double>(value), 7);
  const std::size_t point = text.find('.');
  if (point != std::string::npos) text.replace(point, 1, decimal_separator);
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
