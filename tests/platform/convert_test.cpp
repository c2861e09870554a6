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
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The error number that the call raises, or kNoError.
int errorNumberOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const RuntimeError& error) {
    return error.number();
  }
  return kNoError;
}

// What the conversion writes for each value, joined by "|".
template <typename Value, typename Convert>
std::string joined(Convert convert, std::initializer_list<Value> values) {
  std::string text;
  for (const Value& value : values) text += (text.empty() ? "" : "|") + convert(value);
  return text;
}

// The texts for which the check fails, joined by "|".
template <typename Check>
std::string failing(Check check, std::initializer_list<std::string_view> texts) {
  std::string text;
  for (std::string_view one : texts) {
    if (!check(one)) text += (text.empty() ? "" : "|") + std::string(one);
  }
  return text;
}

TEST(ParseNumber, ReadsOrRejects) {
  const std::pair<const char*, double> accepted[] = {
      {"0", 0.0},           {"-1", -1.0},        {"+7", 7.0},      {"  12.5\t", 12.5},
      {"1,234.50", 1234.5}, {"1,2,3,4", 1234.0}, {"1,.5", 1.5},    {".5", 0.5},
      {"-.25", -0.25},      {"5.", 5.0},         {"1E+3", 1000.0}, {"2.5e-1", 0.25},
      {"1D2", 100.0},       {"1d-2", 0.01},      {"1e-400", 0.0},  {"-0", 0.0}};
  for (const auto& [text, expected] : accepted) {
    EXPECT_EQ(parseNumber(text), expected) << text;
    EXPECT_FALSE(std::signbit(*parseNumber(text)) && expected == 0.0) << "zero has no sign";
    EXPECT_TRUE(isNumeric(text)) << text;
  }
  const auto refused = [](std::string_view text) { return !parseNumber(text) && !isNumeric(text); };
  EXPECT_EQ(failing(refused, {"",      "   ",   ".",   "-",     "+-1", ",123",  "-,1",
                              "1.2,3", "1.2.3", "1e+", ".e5",   "$5",  "0x1A",  "&H1A",
                              "inf",   "nan",   "- 1", "1e5.5", "1\n", "1e400", "-1.8e308"}),
            "");
  EXPECT_EQ(parseNumber("1.7976931348623157e308"), 1.7976931348623157e308);
  EXPECT_EQ(parseNumber("0.000000000000000000001e21"), 1.0);
  EXPECT_EQ(parseNumber("1e-99999999999999999999999999"), 0.0);
  EXPECT_EQ(parseNumber(std::string("1\0", 2)), std::nullopt);
  EXPECT_EQ(parseNumber("1e99999999999999999999999999"), std::nullopt);
  EXPECT_EQ(parseNumber("1" + std::string(500, '0')), std::nullopt);
  EXPECT_EQ(parseNumber("0." + std::string(500, '0') + "1e501"), 1.0);
  EXPECT_EQ(parseNumber(std::string(200000, ',')), std::nullopt);
  EXPECT_EQ(parseNumber(std::string(100000, '1') + "e-99999"),
            parseNumber("1.11111111111111111111"));
}

// Whole numbers round halves to even and check their range; texts that are no number mismatch.
TEST(ToInteger, RoundsTiesToEvenAndChecksRange) {
  const struct {
    std::string text;
    int expected;
    int error;
  } cases16[] = {
      {"12.5", 12, kNoError},        {"13.5", 14, kNoError},       {"-2.5", -2, kNoError},
      {"-3.5", -4, kNoError},        {"0.5", 0, kNoError},         {"2.5001", 3, kNoError},
      {"32767.4", 32767, kNoError},  {"32767.5", 0, kErrOverflow}, {"-32768.5", -32768, kNoError},
      {"-32768.6", 0, kErrOverflow}, {"1,234", 1234, kNoError},    {" 3e2 ", 300, kNoError},
      {"1e400", 0, kErrOverflow},    {"", 0, kErrTypeMismatch},    {"1.2.3", 0, kErrTypeMismatch}};
  for (const auto& c : cases16) {
    SCOPED_TRACE(c.text);
    std::int16_t value = 0;
    EXPECT_EQ(errorNumberOf([&] { value = toInt16(c.text); }), c.error);
    if (c.error == kNoError) {
      EXPECT_EQ(value, c.expected);
    }
  }
  EXPECT_EQ(toInt32("2147483646.5"), 2147483646);
  EXPECT_EQ(toInt32("-2147483648.5"), -2147483647 - 1);
  EXPECT_EQ(errorNumberOf([] { toInt32("2147483647.5"); }), kErrOverflow);
  EXPECT_EQ(errorNumberOf([] { toInt32("x"); }), kErrTypeMismatch);
  EXPECT_EQ(toDouble(" -1,234.5 "), -1234.5);
  EXPECT_EQ(errorNumberOf([] { toDouble("NoRate"); }), kErrTypeMismatch);
  EXPECT_EQ(errorNumberOf([] { toDouble("1e309"); }), kErrOverflow);
  EXPECT_EQ(roundToInt16(-13.5), -14);
  EXPECT_EQ(roundToInt16(0.49999999999999994), 0);
  for (double bad : {32767.5, kNaN, kInf}) {
    EXPECT_EQ(errorNumberOf([&] { roundToInt16(bad); }), kErrOverflow) << bad;
  }
  EXPECT_EQ(errorNumberOf([] { roundToInt32(-kInf); }), kErrOverflow);
}

TEST(ToBoolean, ReadsWordsAndNumbers) {
  for (const char* text : {" TRUE ", "1", "-1", "0.001"}) EXPECT_TRUE(toBoolean(text)) << text;
  for (const char* text : {"False", "0", "0.0"}) EXPECT_FALSE(toBoolean(text)) << text;
  for (const char* text : {"", "yes", "truex", "tru"}) {
    EXPECT_EQ(errorNumberOf([&] { toBoolean(text); }), kErrTypeMismatch) << text;
  }
}

TEST(LeadingNumber, ReadsTheLeadingNumber) {
  const std::pair<const char*, double> cases[] = {
      {"", 0},        {"12-34", 12}, {" 1 2 3", 123},       {"1,234", 1},    {"1e+", 1},
      {"1 e 2", 100}, {"2D-1", 0.2}, {"\t\n- 4 . 5", -4.5}, {"1.2.3", 1.2},  {"-.", 0},
      {"--5", 0},     {"7\r8", 7},   {"1e-999", 0},         {"1e999", kInf}, {"-1e999", -kInf}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(leadingNumber(text), expected) << text;
}

TEST(FormatStandard, FormatsTwoDecimalsWithGrouping) {
  EXPECT_EQ(
      joined(formatStandard, {-0.0, -1.0, 100.0, 1000.0, 999.995, -1234567.891, 1.005, 0.125,
                              -0.125, 2.675, 0.0049, -0.004, -0.005, 1e15, 123456789.125, -kInf}),
      "0.00|-1.00|100.00|1,000.00|1,000.00|-1,234,567.89|1.01|0.13|-0.13|2.68|0.00|0.00|"
      "-0.01|1,000,000,000,000,000.00|123,456,789.13|-Infinity");
  const std::string max = formatStandard(std::numeric_limits<double>::max());
  EXPECT_EQ(max.substr(0, 6), "179,76");
  EXPECT_EQ(max.size(), 309u + 102u + 3u);
  EXPECT_EQ(formatStandard(std::numeric_limits<double>::denorm_min()), "0.00");
}

TEST(DoubleText, WritesGeneralText) {
  EXPECT_EQ(joined(doubleText, {-0.0, 0.1, 1.0 / 3, 2.0 / 3, 0.1 + 0.2, -1234.5, 999999999999999.0,
                                1e15, 9999999999999999.0, -2.5e100, 1e-5, 1.25e-5, 9.99e-6, -1e-7,
                                5e-324, 0.000009999999999999999, kInf, kNaN}),
            "0|0.1|0.333333333333333|0.666666666666667|0.3|-1234.5|999999999999999|1E+15|1E+16|"
            "-2.5E+100|0.00001|0.0000125|9.99E-06|-1E-07|4.94065645841247E-324|0.00001|Infinity|"
            "NaN");
  EXPECT_EQ(integerText(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

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

// Dates become MM/DD/YYYY; anything that is not a real date is kept as it came.
TEST(FormatDate, WritesMonthDayYearOrKeepsTheText) {
  EXPECT_EQ(
      joined(formatDateMMDDYYYY, {"2024-03-07T23:59:59.1234567-05:00", "2024-03-07T23:30+14:00",
                                  "2024-12-31T22:00:00Z", "  2024-03-07 ", "3/7/2024", "2000-02-29",
                                  "2/29/2024", "0001-01-01", "\t1/1/2024\t"}),
      "03/07/2024|03/07/2024|12/31/2024|03/07/2024|03/07/2024|02/29/2000|02/29/2024|"
      "01/01/0001|01/01/2024");
  const auto kept = [](std::string_view text) { return formatDateMMDDYYYY(text) == text; };
  EXPECT_EQ(failing(kept, {"2023-02-29", "1900-02-29", "2024-04-31", "2024-13-01", "2024-01-00",
                           "0000-01-01", " 2024-3-7 ", "2024-03-07T", "2024-03-07x", "13/1/2024",
                           "2/30/2024", "1/1/24", "1/1/20245", "1//2024", "+1/1/2024"}),
            "");
  EXPECT_EQ(
      failing(kept, {"", "garbage", "2024-03-07T1:00", "2024-03-07 10:00", "\xff\xfe/1/2024"}), "");
  EXPECT_EQ(formatDateMMDDYYYY(std::string("2024-01-01\0", 11)), std::string("2024-01-01\0", 11));
}

TEST(TrimBlanks, RemovesSpacesOnly) {
  EXPECT_EQ(trimBlanks("  a b  "), "a b");
  EXPECT_EQ(trimBlanks("\ta\t"), "\ta\t");
  EXPECT_EQ(trimBlanks("    "), "");
}

}  // namespace
}  // namespace tarvine::convert
