// The number texts: reading cells, writing counts and volumes, and the
// checked conversions, against values worked out by hand.
#include "board/numbers.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

#include "board/errors.h"

namespace {

using board::FloatingPointError;
using board::NoSuchElementError;
using board::NumberText;
using board::OverflowError;
using board::ParseNumber;
using board::ToInt16;
using board::ToSingle;
using board::VolumeText;

struct ParseCase {
  const char* text;
  double value;
};

TEST(ParseNumberTest, TrickyInputs) {
  // clang-format off
  const ParseCase cases[] = {
      {" 1 2", 12},         {"-.5e1", -5},       {"1e", 1},           {"e5", 0},
      {"abc", 0},           {"", 0},             {"3.5.1", 3.5},      {"+", 0},
      {"\t\n7", 7},         {"12abc", 12},       {"1e+2", 100},       {"1E-2", 0.01},
      {"1 e 2", 100},       {"1e+", 1},          {"1e-", 1},          {"--1", 0},
      {"0x10", 0},          {"1,5", 1},          {".5", 0.5},         {"5.", 5},
      {".", 0},             {"-", 0},            {"+7", 7},           {"- 3", -3},
      {"1e308", 1e308},     {"-1e308", -1e308},  {"0e999", 0},        {"1e-400", 0},
      {"000000000000000000000000000000000012", 12},
      {"0.000000000000000000000000000000000012e36", 12},
      {"1.7976931348623157e308", DBL_MAX},
      {"7\x01", 7},  // stops at the first character that cannot continue
  };
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(ParseNumber(c.text), c.value) << "text '" << c.text << "'";
  }
}

TEST(ParseNumberTest, CarriageReturnIsNotSkipped) {
  EXPECT_EQ(ParseNumber("\r5"), 0);
  EXPECT_EQ(ParseNumber("5\r5"), 5);
}

TEST(ParseNumberTest, NumbersBeyondADoubleOverflow) {
  EXPECT_THROW(ParseNumber("1e400"), OverflowError);
  EXPECT_THROW(ParseNumber("-1e400"), OverflowError);
  EXPECT_THROW(ParseNumber("2e308"), OverflowError);
  EXPECT_THROW(ParseNumber("1" + std::string(400, '0')), OverflowError);
  EXPECT_THROW(ParseNumber("1e99999999999999999999"), OverflowError);
  // Tiny numbers are no overflow: they read as zero.
  EXPECT_EQ(ParseNumber("1e-99999999999999999999"), 0);
  EXPECT_EQ(ParseNumber("0." + std::string(400, '0') + "1"), 0);
}

TEST(NumberTextTest, CountsAndOtherValues) {
  EXPECT_EQ(NumberText(0), "0");
  EXPECT_EQ(NumberText(-0.0), "0");
  EXPECT_EQ(NumberText(1), "1");
  EXPECT_EQ(NumberText(12), "12");
  EXPECT_EQ(NumberText(-4), "-4");
  EXPECT_EQ(NumberText(40001), "40001");
  EXPECT_EQ(NumberText(123456789012345.0), "123456789012345");
  EXPECT_EQ(NumberText(1e15), "1E+15");
  EXPECT_EQ(NumberText(1e20 + 1), "1E+20");
  EXPECT_EQ(NumberText(1e308), "1E+308");
  EXPECT_EQ(NumberText(1.5), "1.5");
  EXPECT_EQ(NumberText(0.0001), "0.0001");
  EXPECT_EQ(NumberText(0.00001), "1E-05");
}

TEST(NumberTextTest, RoundsTheExactValueHalvesToEven) {
  // 16 digits, each exactly a double: the 16th decides, a lone 5 goes to even.
  EXPECT_EQ(NumberText(100000000000000.5), "100000000000000");
  EXPECT_EQ(NumberText(100000000000001.5), "100000000000002");
  EXPECT_EQ(NumberText(100000000000000.75), "100000000000001");
  EXPECT_EQ(NumberText(999999999999999.5), "1E+15");  // the carry runs through every digit
  EXPECT_EQ(NumberText(0.1), "0.1");                  // 0.1000000000000000055... in binary
  EXPECT_EQ(NumberText(2.5e-5), "2.5E-05");
  EXPECT_EQ(NumberText(-1e-300), "-1E-300");
  EXPECT_EQ(NumberText(5e-324), "4.94065645841247E-324");  // the least double
}

TEST(NumberTextTest, ReadsBackThroughParseNumber) {
  for (double v : {0.0, 1.0, 7.0, 21.0, -3.0, 40001.0, 1e20, 1e308, -1e308, 2.5}) {
    EXPECT_EQ(ParseNumber(NumberText(v)), v) << NumberText(v);
  }
}

TEST(VolumeTextTest, SinglePrecisionGeneralFormat) {
  EXPECT_EQ(VolumeText(0.0f, "."), "0");
  EXPECT_EQ(VolumeText(-0.0f, "."), "0");
  EXPECT_EQ(VolumeText(0.5f, "."), "0.5");
  EXPECT_EQ(VolumeText(3.5f, "."), "3.5");
  EXPECT_EQ(VolumeText(7.0f, "."), "7");
  EXPECT_EQ(VolumeText(10.5f, "."), "10.5");
  EXPECT_EQ(VolumeText(-2.5f, "."), "-2.5");
  EXPECT_EQ(VolumeText(0.1f, "."), "0.1");
  EXPECT_EQ(VolumeText(1234567.0f, "."), "1234567");
  EXPECT_EQ(VolumeText(12345678.0f, "."), "1.234568E+07");
  EXPECT_EQ(VolumeText(1e-5f, "."), "1E-05");
  EXPECT_EQ(VolumeText(FLT_MAX, "."), "3.402823E+38");
}

TEST(VolumeTextTest, UsesTheGivenSeparator) {
  EXPECT_EQ(VolumeText(3.5f, ","), "3,5");
  EXPECT_EQ(VolumeText(0.5f, ","), "0,5");
  EXPECT_EQ(VolumeText(7.0f, ","), "7");
  EXPECT_EQ(VolumeText(12345678.0f, ","), "1,234568E+07");
  EXPECT_EQ(VolumeText(10.5f, "\u066B"), "10\u066B5");
  EXPECT_EQ(VolumeText(0.5f, "--"), "0--5");
  EXPECT_EQ(VolumeText(1e-5f, "--"), "1E-05");
}

TEST(ToInt16Test, RoundsHalvesToEven) {
  EXPECT_EQ(ToInt16(0.5), 0);
  EXPECT_EQ(ToInt16(1.5), 2);
  EXPECT_EQ(ToInt16(2.5), 2);
  EXPECT_EQ(ToInt16(2.500001), 3);
  EXPECT_EQ(ToInt16(-0.5), 0);
  EXPECT_EQ(ToInt16(-1.5), -2);
  EXPECT_EQ(ToInt16(-2.4), -2);
  EXPECT_EQ(ToInt16(21), 21);
}

TEST(ToInt16Test, OverflowsOutsideTheRange) {
  EXPECT_EQ(ToInt16(32767), 32767);
  EXPECT_EQ(ToInt16(32767.4), 32767);
  EXPECT_EQ(ToInt16(-32768), -32768);
  EXPECT_EQ(ToInt16(-32768.5), -32768);  // the even neighbour is in range
  EXPECT_THROW(ToInt16(32767.5), OverflowError);
  EXPECT_THROW(ToInt16(-32768.6), OverflowError);
  EXPECT_THROW(ToInt16(40000), OverflowError);
  EXPECT_THROW(ToInt16(1e308), OverflowError);
  EXPECT_THROW(ToInt16(std::numeric_limits<double>::infinity()), OverflowError);
  EXPECT_THROW(ToInt16(std::numeric_limits<double>::quiet_NaN()), OverflowError);
}

TEST(ToSingleTest, FaultsWhenTheResultIsNotAFiniteSingle) {
  EXPECT_EQ(ToSingle(3.5), 3.5f);
  EXPECT_EQ(ToSingle(FLT_MAX), FLT_MAX);
  EXPECT_EQ(ToSingle(-1e38), -1e38f);
  EXPECT_THROW(ToSingle(1e308), FloatingPointError);
  EXPECT_THROW(ToSingle(-3.5e38), FloatingPointError);
  EXPECT_THROW(ToSingle(std::numeric_limits<double>::infinity()), FloatingPointError);
  EXPECT_THROW(ToSingle(std::numeric_limits<double>::quiet_NaN()), FloatingPointError);
}

TEST(ErrorsTest, CarryANumberAndAReadableMessage) {
  try {
    ParseNumber("1e999");
    FAIL() << "no error raised";
  } catch (const board::RuntimeError& e) {
    EXPECT_EQ(e.number(), 6);
    EXPECT_STREQ(e.what(), "Препълване: число извън допустимия обхват.");
  }
  EXPECT_EQ(FloatingPointError().number(), 16);
  EXPECT_STREQ(FloatingPointError().what(), "Грешка при изчисление с плаваща запетая.");
  EXPECT_EQ(std::to_string(NoSuchElementError().number()) + NoSuchElementError().what(),
            "340Няма елемент с такъв индекс в масива от контроли.");
}

}  // namespace
