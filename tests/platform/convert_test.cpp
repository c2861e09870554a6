#include "platform/Convert.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <string>

#include "platform/RuntimeError.h"

namespace tarvine::convert {
namespace {

constexpr int kNoError = 0;

// The error number that the call raises, or kNoError.
int errorNumberOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const RuntimeError& error) {
    return error.number();
  }
  return kNoError;
}

// ---- parseNumber / isNumeric

struct ParseCase {
  std::string text;
  std::optional<double> expected;
};

class ParseNumberTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseNumberTest, ReadsOrRejects) {
  const ParseCase& c = GetParam();
  EXPECT_EQ(parseNumber(c.text), c.expected) << "text: [" << c.text << "]";
  EXPECT_FALSE(c.expected == 0.0 && std::signbit(*parseNumber(c.text))) << "zero has no sign";
  EXPECT_EQ(isNumeric(c.text), c.expected.has_value()) << "text: [" << c.text << "]";
}

INSTANTIATE_TEST_SUITE_P(
    Accepted, ParseNumberTest,
    testing::Values(ParseCase{"0", 0.0}, ParseCase{"42", 42.0}, ParseCase{"-1", -1.0},
                    ParseCase{"+7", 7.0}, ParseCase{"  12.5\t", 12.5}, ParseCase{"\t-3 ", -3.0},
                    ParseCase{"1,234.50", 1234.5}, ParseCase{"1,2,3,4", 1234.0},
                    ParseCase{"-1,000,000", -1e6}, ParseCase{"1,.5", 1.5}, ParseCase{".5", 0.5},
                    ParseCase{"-.25", -0.25}, ParseCase{"5.", 5.0}, ParseCase{"1e3", 1000.0},
                    ParseCase{"1E+3", 1000.0}, ParseCase{"2.5e-1", 0.25}, ParseCase{"1D2", 100.0},
                    ParseCase{"1d-2", 0.01}, ParseCase{"0.1", 0.1}, ParseCase{"007", 7.0},
                    ParseCase{"1.7976931348623157e308", 1.7976931348623157e308},
                    ParseCase{"1e-400", 0.0}, ParseCase{"-0", 0.0},
                    ParseCase{"0.000000000000000000001e21", 1.0}, ParseCase{"-0.00", 0.0},
                    ParseCase{"007.50", 7.5}, ParseCase{"-32768.5", -32768.5},
                    ParseCase{"12345678901234567890123456", 12345678901234567890123456.0}));

INSTANTIATE_TEST_SUITE_P(
    Rejected, ParseNumberTest,
    testing::Values(ParseCase{"", std::nullopt}, ParseCase{"   ", std::nullopt},
                    ParseCase{".", std::nullopt}, ParseCase{"-", std::nullopt},
                    ParseCase{"+", std::nullopt}, ParseCase{"+-1", std::nullopt},
                    ParseCase{"--1", std::nullopt}, ParseCase{",123", std::nullopt},
                    ParseCase{"-,1", std::nullopt}, ParseCase{"1.2,3", std::nullopt},
                    ParseCase{"1.2.3", std::nullopt}, ParseCase{"1e", std::nullopt},
                    ParseCase{"1e+", std::nullopt}, ParseCase{"e5", std::nullopt},
                    ParseCase{".e5", std::nullopt}, ParseCase{"$5", std::nullopt},
                    ParseCase{"(5)", std::nullopt}, ParseCase{"0x1A", std::nullopt},
                    ParseCase{"&H1A", std::nullopt}, ParseCase{"inf", std::nullopt},
                    ParseCase{"-Infinity", std::nullopt}, ParseCase{"nan", std::nullopt},
                    ParseCase{"1 2", std::nullopt}, ParseCase{"- 1", std::nullopt},
                    ParseCase{"12abc", std::nullopt}, ParseCase{"1e5.5", std::nullopt},
                    ParseCase{"1\n", std::nullopt}, ParseCase{std::string("1\0", 2), std::nullopt},
                    ParseCase{"1e400", std::nullopt}, ParseCase{"-1.8e308", std::nullopt}));

TEST(ParseNumber, HandlesHugeDigitRunsAndExponents) {
  EXPECT_EQ(parseNumber("1" + std::string(500, '0')), std::nullopt);
  EXPECT_EQ(parseNumber("0." + std::string(500, '0') + "1e501"), 1.0);
  EXPECT_EQ(parseNumber(std::string(100000, '1') + "e-99999"),
            parseNumber("1.11111111111111111111"));
  EXPECT_EQ(parseNumber("1e99999999999999999999999999"), std::nullopt);
  EXPECT_EQ(parseNumber("1e-99999999999999999999999999"), 0.0);
  EXPECT_EQ(parseNumber(std::string(200000, ',')), std::nullopt);
}

// ---- toDouble / toInt16 / toInt32

TEST(ToDouble, RaisesTypeMismatchOrOverflow) {
  EXPECT_EQ(toDouble(" -1,234.5 "), -1234.5);
  EXPECT_EQ(errorNumberOf([] { toDouble(""); }), kErrTypeMismatch);
  EXPECT_EQ(errorNumberOf([] { toDouble("NoRate"); }), kErrTypeMismatch);
  EXPECT_EQ(errorNumberOf([] { toDouble("1e309"); }), kErrOverflow);
}

struct IntCase {
  std::string text;
  int expected;  // the value, when error is kNoError
  int error;
};

class ToInt16Test : public testing::TestWithParam<IntCase> {};

TEST_P(ToInt16Test, RoundsTiesToEvenAndChecksRange) {
  const IntCase& c = GetParam();
  std::int16_t value = 0;
  EXPECT_EQ(errorNumberOf([&] { value = toInt16(c.text); }), c.error) << c.text;
  if (c.error == kNoError) {
    EXPECT_EQ(value, c.expected) << c.text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToInt16Test,
    testing::Values(IntCase{"12.5", 12, kNoError}, IntCase{"13.5", 14, kNoError},
                    IntCase{"-2.5", -2, kNoError}, IntCase{"-3.5", -4, kNoError},
                    IntCase{"0.5", 0, kNoError}, IntCase{"1.5", 2, kNoError},
                    IntCase{"-0.5", 0, kNoError}, IntCase{"2.4999", 2, kNoError},
                    IntCase{"2.5001", 3, kNoError}, IntCase{"-0.4", 0, kNoError},
                    IntCase{"32767", 32767, kNoError}, IntCase{"32767.4", 32767, kNoError},
                    IntCase{"32767.5", 0, kErrOverflow}, IntCase{"32768", 0, kErrOverflow},
                    IntCase{"-32768", -32768, kNoError}, IntCase{"-32768.5", -32768, kNoError},
                    IntCase{"-32768.6", 0, kErrOverflow}, IntCase{"-32769", 0, kErrOverflow},
                    IntCase{"1,234", 1234, kNoError}, IntCase{" 3e2 ", 300, kNoError},
                    IntCase{"1e400", 0, kErrOverflow}, IntCase{"", 0, kErrTypeMismatch},
                    IntCase{"abc", 0, kErrTypeMismatch}, IntCase{"1.2.3", 0, kErrTypeMismatch}));

TEST(ToInt32, UsesThe32BitRange) {
  EXPECT_EQ(toInt32("2147483647"), 2147483647);
  EXPECT_EQ(toInt32("2147483646.5"), 2147483646);
  EXPECT_EQ(toInt32("-2147483648.5"), -2147483647 - 1);
  EXPECT_EQ(toInt32("40000"), 40000);
  EXPECT_EQ(errorNumberOf([] { toInt32("2147483647.5"); }), kErrOverflow);
  EXPECT_EQ(errorNumberOf([] { toInt32("-2147483649"); }), kErrOverflow);
  EXPECT_EQ(errorNumberOf([] { toInt32("x"); }), kErrTypeMismatch);
}

TEST(RoundToInteger, RoundsDoublesAndRejectsNonFinite) {
  EXPECT_EQ(roundToInt16(12.5), 12);
  EXPECT_EQ(roundToInt16(-13.5), -14);
  EXPECT_EQ(roundToInt16(0.49999999999999994), 0);
  EXPECT_EQ(roundToInt16(-32768.5), -32768);
  EXPECT_EQ(roundToInt32(2147483646.5), 2147483646);
  EXPECT_EQ(roundToInt32(-2147483648.0), -2147483647 - 1);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(errorNumberOf([] { roundToInt16(32767.5); }), kErrOverflow);
  EXPECT_EQ(errorNumberOf([&] { roundToInt16(nan); }), kErrOverflow);
  EXPECT_EQ(errorNumberOf([&] { roundToInt32(inf); }), kErrOverflow);
  EXPECT_EQ(errorNumberOf([&] { roundToInt32(-inf); }), kErrOverflow);
  EXPECT_EQ(errorNumberOf([] { roundToInt32(2147483647.5); }), kErrOverflow);
  EXPECT_EQ(errorNumberOf([] { roundToInt32(1e300); }), kErrOverflow);
}

// ---- toBoolean

TEST(ToBoolean, ReadsWordsAndNumbers) {
  EXPECT_TRUE(toBoolean("true"));
  EXPECT_TRUE(toBoolean(" TRUE "));
  EXPECT_FALSE(toBoolean("False"));
  EXPECT_FALSE(toBoolean("0"));
  EXPECT_FALSE(toBoolean("0.0"));
  EXPECT_TRUE(toBoolean("1"));
  EXPECT_TRUE(toBoolean("-1"));
  EXPECT_TRUE(toBoolean("0.001"));
  EXPECT_EQ(errorNumberOf([] { toBoolean(""); }), kErrTypeMismatch);
  EXPECT_EQ(errorNumberOf([] { toBoolean("yes"); }), kErrTypeMismatch);
  EXPECT_EQ(errorNumberOf([] { toBoolean("truex"); }), kErrTypeMismatch);
  EXPECT_EQ(errorNumberOf([] { toBoolean("tru"); }), kErrTypeMismatch);
}

// ---- leadingNumber

struct LeadingCase {
  std::string text;
  double expected;
};

class LeadingNumberTest : public testing::TestWithParam<LeadingCase> {};

TEST_P(LeadingNumberTest, ReadsTheLeadingNumber) {
  EXPECT_EQ(leadingNumber(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LeadingNumberTest,
    testing::Values(LeadingCase{"", 0}, LeadingCase{"   ", 0}, LeadingCase{"12-34", 12},
                    LeadingCase{" 1 2 3", 123}, LeadingCase{"-", 0}, LeadingCase{"1,234", 1},
                    LeadingCase{"1e", 1}, LeadingCase{"1e+", 1}, LeadingCase{"1e2", 100},
                    LeadingCase{"1 e 2", 100}, LeadingCase{"2D-1", 0.2},
                    LeadingCase{"\t\n- 4 . 5", -4.5}, LeadingCase{"+8x", 8},
                    LeadingCase{"1.2.3", 1.2}, LeadingCase{".5", 0.5}, LeadingCase{"-.", 0},
                    LeadingCase{"abc", 0}, LeadingCase{"--5", 0}, LeadingCase{"0012", 12},
                    LeadingCase{"7\r8", 7}, LeadingCase{"1e-999", 0},
                    LeadingCase{"1e999", std::numeric_limits<double>::infinity()},
                    LeadingCase{"-1e999", -std::numeric_limits<double>::infinity()}));

// ---- formatStandard

struct FormatCase {
  double value;
  std::string expected;
};

class FormatStandardTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatStandardTest, FormatsTwoDecimalsWithGrouping) {
  EXPECT_EQ(formatStandard(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatStandardTest,
    testing::Values(FormatCase{0, "0.00"}, FormatCase{-0.0, "0.00"}, FormatCase{1, "1.00"},
                    FormatCase{-1, "-1.00"}, FormatCase{1234.5, "1,234.50"},
                    FormatCase{12, "12.00"}, FormatCase{999.995, "1,000.00"},
                    FormatCase{999999.999, "1,000,000.00"}, FormatCase{100, "100.00"},
                    FormatCase{1000, "1,000.00"}, FormatCase{-1234567.891, "-1,234,567.89"},
                    FormatCase{1.005, "1.01"}, FormatCase{0.125, "0.13"},
                    FormatCase{-0.125, "-0.13"}, FormatCase{2.675, "2.68"},
                    FormatCase{0.124, "0.12"}, FormatCase{0.005, "0.01"},
                    FormatCase{0.0049, "0.00"}, FormatCase{-0.004, "0.00"},
                    FormatCase{-0.005, "-0.01"}, FormatCase{1e-300, "0.00"},
                    FormatCase{0.1 + 0.2, "0.30"}, FormatCase{1e15, "1,000,000,000,000,000.00"},
                    FormatCase{123456789.125, "123,456,789.13"}));

TEST(FormatStandard, HandlesTheWholeDoubleRange) {
  const std::string max = formatStandard(std::numeric_limits<double>::max());
  EXPECT_EQ(max.substr(0, 6), "179,76");
  EXPECT_EQ(max.substr(max.size() - 3), ".00");
  EXPECT_EQ(max.size(), 309u + 102u + 3u);
  EXPECT_EQ(formatStandard(std::numeric_limits<double>::denorm_min()), "0.00");
}

// ---- integerText / doubleText

TEST(IntegerText, WritesShortestDecimal) {
  EXPECT_EQ(integerText(0), "0");
  EXPECT_EQ(integerText(-32768), "-32768");
  EXPECT_EQ(integerText(1234567), "1234567");
  EXPECT_EQ(integerText(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

class DoubleTextTest : public testing::TestWithParam<FormatCase> {};

TEST_P(DoubleTextTest, WritesGeneralText) {
  EXPECT_EQ(doubleText(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DoubleTextTest,
    testing::Values(FormatCase{0, "0"}, FormatCase{-0.0, "0"}, FormatCase{-1, "-1"},
                    FormatCase{0.1, "0.1"}, FormatCase{123.456, "123.456"},
                    FormatCase{1.0 / 3, "0.333333333333333"},
                    FormatCase{2.0 / 3, "0.666666666666667"}, FormatCase{0.1 + 0.2, "0.3"},
                    FormatCase{1234.5, "1234.5"}, FormatCase{-1234.5, "-1234.5"},
                    FormatCase{100, "100"}, FormatCase{123456789012345.0, "123456789012345"},
                    FormatCase{999999999999999.0, "999999999999999"},
                    FormatCase{1e14, "100000000000000"}, FormatCase{1e15, "1E+15"},
                    FormatCase{9999999999999999.0, "1E+16"}, FormatCase{1.5e20, "1.5E+20"},
                    FormatCase{-2.5e100, "-2.5E+100"}, FormatCase{1e-5, "0.00001"},
                    FormatCase{1.25e-5, "0.0000125"}, FormatCase{9.99e-6, "9.99E-06"},
                    FormatCase{1e-7, "1E-07"}, FormatCase{-1e-7, "-1E-07"},
                    FormatCase{1.7976931348623157e308, "1.79769313486232E+308"},
                    FormatCase{5e-324, "4.94065645841247E-324"},
                    FormatCase{0.000009999999999999999, "0.00001"}));

TEST(DoubleText, NonFiniteValuesHaveAFixedText) {
  EXPECT_EQ(doubleText(std::numeric_limits<double>::infinity()), "Infinity");
  EXPECT_EQ(formatStandard(-std::numeric_limits<double>::infinity()), "-Infinity");
  EXPECT_EQ(doubleText(std::numeric_limits<double>::quiet_NaN()), "NaN");
}

TEST(DoubleText, ReadsBackThroughParseNumber) {
  for (double value : {0.1, -1234.5678, 1.5e20, 1e-7, 32767.0, 99.99}) {
    EXPECT_EQ(parseNumber(doubleText(value)), value) << value;
  }
  EXPECT_EQ(parseNumber(formatStandard(1234567.5)), 1234567.5);
}

// ---- locale independence

TEST(Convert, IgnoresTheProcessLocale) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "scripts/setup makes de_DE.UTF-8";
  const std::string number = doubleText(1234.5);
  const std::string standard = formatStandard(1234.5);
  const std::optional<double> parsed = parseNumber("1,234.5");
  const double lenient = leadingNumber("3.25");
  std::setlocale(LC_ALL, previous.c_str());
  EXPECT_EQ(number, "1234.5");
  EXPECT_EQ(standard, "1,234.50");
  EXPECT_EQ(parsed, 1234.5);
  EXPECT_EQ(lenient, 3.25);
}

// ---- formatDateMMDDYYYY

struct DateCase {
  std::string text;
  std::string expected;
};

class FormatDateTest : public testing::TestWithParam<DateCase> {};

TEST_P(FormatDateTest, WritesMonthDayYearOrKeepsTheText) {
  EXPECT_EQ(formatDateMMDDYYYY(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Converted, FormatDateTest,
    testing::Values(DateCase{"2024-03-07", "03/07/2024"},
                    DateCase{"2024-03-07T00:00:00", "03/07/2024"},
                    DateCase{"2024-03-07T23:59:59.1234567-05:00", "03/07/2024"},
                    DateCase{"2024-03-07T23:30+14:00", "03/07/2024"},
                    DateCase{"2024-12-31T22:00:00Z", "12/31/2024"},
                    DateCase{"  2024-03-07 ", "03/07/2024"}, DateCase{"3/7/2024", "03/07/2024"},
                    DateCase{"12/31/1999", "12/31/1999"}, DateCase{"03/7/2024", "03/07/2024"},
                    DateCase{"2024-02-29", "02/29/2024"}, DateCase{"2000-02-29", "02/29/2000"},
                    DateCase{"2/29/2024", "02/29/2024"}, DateCase{"0001-01-01", "01/01/0001"},
                    DateCase{"9999-12-31", "12/31/9999"}, DateCase{"\t1/1/2024\t", "01/01/2024"}));

INSTANTIATE_TEST_SUITE_P(
    Unchanged, FormatDateTest,
    testing::Values(DateCase{"", ""}, DateCase{"  ", "  "}, DateCase{"garbage", "garbage"},
                    DateCase{"2023-02-29", "2023-02-29"}, DateCase{"1900-02-29", "1900-02-29"},
                    DateCase{"2024-02-30", "2024-02-30"}, DateCase{"2024-04-31", "2024-04-31"},
                    DateCase{"2024-13-01", "2024-13-01"}, DateCase{"2024-00-10", "2024-00-10"},
                    DateCase{"2024-01-00", "2024-01-00"}, DateCase{"0000-01-01", "0000-01-01"},
                    DateCase{" 2024-3-7 ", " 2024-3-7 "}, DateCase{"2024-03-07T", "2024-03-07T"},
                    DateCase{"2024-03-07T1:00", "2024-03-07T1:00"},
                    DateCase{"2024-03-07 10:00", "2024-03-07 10:00"},
                    DateCase{"2024-03-07x", "2024-03-07x"}, DateCase{"13/1/2024", "13/1/2024"},
                    DateCase{"2/30/2024", "2/30/2024"}, DateCase{"1/1/24", "1/1/24"},
                    DateCase{"1/1/20245", "1/1/20245"}, DateCase{"123/1/2024", "123/1/2024"},
                    DateCase{"1//2024", "1//2024"}, DateCase{"+1/1/2024", "+1/1/2024"},
                    DateCase{std::string("2024-01-01\0", 11), std::string("2024-01-01\0", 11)},
                    DateCase{"\xff\xfe/1/2024", "\xff\xfe/1/2024"}));

// ---- trimBlanks

TEST(TrimBlanks, RemovesSpacesOnly) {
  EXPECT_EQ(trimBlanks("  a b  "), "a b");
  EXPECT_EQ(trimBlanks("\ta\t"), "\ta\t");
  EXPECT_EQ(trimBlanks("    "), "");
  EXPECT_EQ(trimBlanks(""), "");
  EXPECT_EQ(trimBlanks("x"), "x");
}

}  // namespace
}  // namespace tarvine::convert
