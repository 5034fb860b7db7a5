#include "core/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/general_error.h"

namespace teravo {
namespace {

using namespace std::string_literals;

TEST(ParseInt, AcceptsDecimalAndHexForms) {
  const std::pair<std::string, std::int32_t> cases[] = {{"0", 0},
                                                        {"42", 42},
                                                        {"   7", 7},
                                                        {"+5", 5},
                                                        {"-0", 0},
                                                        {"$ff", 255},
                                                        {"0X1A", 26},
                                                        {"-$10", -16},
                                                        {"0x7FFFFFFF", 2147483647},
                                                        {"-$80000000", -2147483647 - 1},
                                                        {"2147483647", 2147483647},
                                                        {"-2147483648", -2147483647 - 1},
                                                        {"007", 7}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(ParseInt(text), expected) << text;
}

TEST(ParseInt, RefusesEverythingElse) {
  const std::string cases[] = {"",
                               " ",
                               "5 ",
                               "5x",
                               "1.0",
                               "0x",
                               "$",
                               "$-1",
                               "--5",
                               "+-5",
                               "- 5",
                               "2147483648",
                               "-2147483649",
                               "$80000000",
                               "0xFFFFFFFF",
                               "1e3",
                               "5\0"s,
                               "\xD9\xA3",
                               std::string(10000, '9')};
  for (const auto& text : cases) EXPECT_FALSE(ParseInt(text)) << text;
}

TEST(ParseReal, AcceptsTheGrammarWithTheGivenSeparator) {
  const std::pair<std::string, long double> cases[] = {
      {"0,0001", 0.0001L}, {" 5, ", 5},    {",5", 0.5L},   {"-2,5E20", -2.5E20L},
      {"+1e-6", 1E-6L},    {"1E+3", 1000}, {"  12  ", 12}, {"1e400", 1E400L},
      {"0e99999", 0},      {"1e-5000", 0}, {"-0", 0}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(ParseReal(text, ','), expected) << text;
  EXPECT_EQ(ParseReal("0.5", '.'), 0.5L);
  EXPECT_TRUE(std::signbit(*ParseReal("-0", ',')));
  // Exact to extended precision, not merely to double.
  EXPECT_EQ(ParseReal("0,1", ','), 0.1L);
  EXPECT_NE(static_cast<long double>(0.1), 0.1L);
  EXPECT_EQ(ParseReal(std::string(10000, '1'), ','), std::nullopt);  // beyond 1E4932
  EXPECT_EQ(ParseReal("0," + std::string(300, '0') + "1", ','), 1E-301L);
}

TEST(ParseReal, RefusesEverythingElse) {
  const std::string cases[] = {"",        " ",         ",",        "0.5",   "1,2,3", "1 000",
                               "1.000,5", "inf",       "nan",      "0x1p3", "E5",    "1E",
                               "1E+",     "1e5000",    "--1",      "+-1",   "- 1",   "1 2",
                               "5\0"s,    "5\xC2\xA0", "\xD9\xA3", "1,5e,5"};
  for (const auto& text : cases) EXPECT_FALSE(ParseReal(text, ',')) << text;
  EXPECT_FALSE(ParseReal("0,5", '.'));
}

// Blanks are spaces only: a number pasted with a tab or a line break around it is no number.
TEST(NumberTexts, SkipSpacesButNoOtherWhiteSpace) {
  const std::string spaced[] = {"7", " 7", "   7", "  7  ", "7 "};
  for (const auto& text : spaced) EXPECT_EQ(ParseReal(text, ','), 7) << text;
  EXPECT_EQ(ParseInt("   7"), 7);
  const std::string blanks[] = {"\t", "\n", "\r", "\r\n", "\v", "\f", " \t"};
  for (const auto& blank : blanks) {
    SCOPED_TRACE(::testing::PrintToString(blank));
    EXPECT_FALSE(ParseInt(blank + "100"));
    EXPECT_FALSE(ParseInt(blank + "-5"));
    EXPECT_FALSE(ParseInt(blank + "$ff"));
    EXPECT_FALSE(ParseInt("100" + blank));
    EXPECT_FALSE(ParseInt("-" + blank + "5"));
    EXPECT_FALSE(ParseInt(blank));
    EXPECT_FALSE(ParseReal(blank + "100", ','));
    EXPECT_FALSE(ParseReal(blank + "1,5", ','));
    EXPECT_FALSE(ParseReal("1,5" + blank, ','));
    EXPECT_FALSE(ParseReal(blank + "12" + blank, ','));
    EXPECT_FALSE(ParseReal(" " + blank + "0.5 ", '.'));
    EXPECT_FALSE(ParseReal("0.5" + blank + " ", '.'));
    EXPECT_FALSE(ParseReal("1E" + blank + "5", ','));
    EXPECT_FALSE(ParseReal(blank, ','));
    EXPECT_THROW(StrToInt(blank + "100"), GeneralError);
    EXPECT_THROW(StrToFloat("100" + blank, ','), GeneralError);
  }
}

TEST(StrTo, RaiseTheGeneralTextsWithTheTextVerbatim) {
  EXPECT_EQ(StrToInt(" -12"), -12);
  EXPECT_EQ(StrToFloat("1,5", ','), 1.5L);
  try {
    StrToInt(" 1x");
    FAIL();
  } catch (const GeneralError& e) {
    EXPECT_STREQ(e.what(), "' 1x' is not a valid integer value");
  }
  try {
    StrToFloat("0.5", ',');
    FAIL();
  } catch (const GeneralError& e) {
    EXPECT_STREQ(e.what(), "'0.5' is not a valid floating point value");
  }
}

TEST(FloatToStr, GeneralNumberFormat) {
  const std::pair<long double, std::string> cases[] = {
      {0, "0"},
      {-0.0L, "0"},
      {10, "10"},
      {-3.25L, "-3,25"},
      {0.1, "0,1"},
      {0.0001L, "0,0001"},
      {0.00009999999999999999L, "0,0001"},  // rounds up into plain notation
      {0.0000999999999999L, "9,99999999999E-5"},
      {1.0L / 1010, "0,00099009900990099"},
      {0.1L / 1010, "9,9009900990099E-5"},
      {5E-5L, "5E-5"},
      {1.5E-5L, "1,5E-5"},
      {-2.5E20L, "-2,5E20"},
      {-1E-20L, "-1E-20"},
      {123456789012345.0L, "123456789012345"},
      {999999999999999.4L, "999999999999999"},
      {999999999999999.9L, "1E15"},
      {1E15L, "1E15"},
      {1234567890123456789.0L, "1,23456789012346E18"},
      {2.0L / 3, "0,666666666666667"},
      {1E400L, "1E400"}};
  for (const auto& [value, expected] : cases) EXPECT_EQ(FloatToStr(value, ','), expected);
  EXPECT_EQ(FloatToStr(1.5E-5L, '.'), "1.5E-5");
}

TEST(FloatToStr, RefusesNonNumbers) {
  EXPECT_THROW(FloatToStr(std::numeric_limits<long double>::quiet_NaN(), ','), GeneralError);
  try {
    FloatToStr(-std::numeric_limits<long double>::infinity(), ',');
    FAIL();
  } catch (const GeneralError& e) {
    EXPECT_EQ(e.what(), kOverflow);
  }
}

TEST(IntToStr, PlainDecimal) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-42), "-42");
  EXPECT_EQ(IntToStr(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

}  // namespace
}  // namespace teravo
