// The number texts of the board: reading a cell, writing counts and volumes,
// and the checked conversions of the summary update. Pure functions, free of
// the process locale: the volume's decimal separator is passed in.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace board {

// Reads the leading number of a text. Blanks, tabs and line feeds are skipped
// wherever they stand; then an optional sign, digits with at most one "." and
// an optional exponent are read up to the first character that cannot
// continue the number. No digit read gives 0. Raises OverflowError for a
// number beyond the range of a double.
double ParseNumber(std::string_view text);

// The general number text, as counts are written into cells: "0", "1", "12";
// up to 15 significant digits, exponent form from 1E+15 up and below 1E-04.
// Always uses "." so that ParseNumber reads the text back.
std::string NumberText(double value);

// The single-precision volume text: up to 7 significant digits, no trailing
// zeros, a leading zero, and the given decimal separator, whatever text it is
// (UTF-8, one character or several).
std::string VolumeText(float value, std::string_view decimal_separator);

// Rounds to the nearest integer, halves to even; raises OverflowError outside
// -32768..32767 (and for a value that is not a number).
std::int16_t ToInt16(double value);

// Stores a double as a single. This is the floating-point fault check of the
// summary: a value that is infinite, not a number, or too large for a single
// raises FloatingPointError.
float ToSingle(double value);

}  // namespace board
