// Every conversion of its inputs, written as "input -> output" lines (a run-time error as
// "error N") and compared whole with tests/golden/platform/convert.txt.

#include "platform/Convert.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <functional>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "Golden.h"
#include "platform/RuntimeError.h"

namespace tarvine::convert {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A double in its shortest exact form ("-0" keeps its sign).
std::string exact(double value) {
  char buffer[64];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

// An input as readable text: control and non-ASCII bytes as \xNN, long ones cut.
std::string shown(std::string_view text) {
  std::string out = "\"";
  for (unsigned char c : text.substr(0, 40)) {
    static const char* hex = "0123456789ABCDEF";
    out +=
        c < 0x20 || c > 0x7E ? std::string("\\x") + hex[c >> 4] + hex[c & 15] : std::string(1, c);
  }
  return out + (text.size() > 40 ? "\"... (" + std::to_string(text.size()) + " bytes)" : "\"");
}

class ConvertTest : public ::testing::Test {
 protected:
  // Writes one line per input: the input and what the conversion gives or raises.
  template <typename Input>
  void each(const char* name, const std::vector<Input>& inputs,
            const std::function<std::string(const Input&)>& convert) {
    out << name << '\n';
    for (const Input& input : inputs) {
      out << "  ";
      if constexpr (std::is_same_v<Input, double>) {
        out << exact(input);
      } else {
        out << shown(input);
      }
      try {
        const std::string result = convert(input);
        out << " -> " << result << '\n';
      } catch (const RuntimeError& error) {
        out << " -> error " << error.number() << '\n';
      }
    }
  }
  std::ostringstream out;
};

TEST_F(ConvertTest, EachConversionOfItsInputs) {
  const auto parsed = [](const std::string& text) {
    const std::optional<double> value = parseNumber(text);
    return (value ? exact(*value) : "none") + (isNumeric(text) ? ", numeric" : "");
  };
  each<std::string>("parseNumber, isNumeric",
                    {"0", "-1", "+7", "  12.5\t", "1,234.50", "1,2,3,4", "1,.5", ".5", "-.25", "5.",
                     "1E+3", "2.5e-1", "1D2", "1d-2", "1e-400", "-0", "1.7976931348623157e308",
                     "0.000000000000000000001e21", "1e-99999999999999999999999999"},
                    parsed);
  each<std::string>("parseNumber, isNumeric of no numbers",
                    {"", "   ", ".", "-", "+-1", ",123", "-,1", "1.2,3", "1.2.3", "1e+", ".e5",
                     "$5", "0x1A", "&H1A", "inf", "nan", "- 1", "1e5.5", "1\n"},
                    parsed);
  each<std::string>(
      "parseNumber of built texts",
      {"1e400", "-1.8e308", "1e99999999999999999999999999", std::string("1\0", 2),
       "1" + std::string(500, '0'), "0." + std::string(500, '0') + "1e501",
       std::string(200000, ','), std::string(100000, '1') + "e-99999", "1.11111111111111111111"},
      parsed);
  // Whole numbers round halves to even and check their range.
  each<std::string>("toInt16",
                    {"12.5", "13.5", "-2.5", "-3.5", "0.5", "2.5001", "32767.4", "32767.5",
                     "-32768.5", "-32768.6", "1,234", " 3e2 ", "1e400", "", "1.2.3"},
                    [](const std::string& text) { return std::to_string(toInt16(text)); });
  each<std::string>("toInt32", {"2147483646.5", "-2147483648.5", "2147483647.5", "x"},
                    [](const std::string& text) { return std::to_string(toInt32(text)); });
  each<std::string>("toDouble", {" -1,234.5 ", "NoRate", "1e309"},
                    [](const std::string& text) { return exact(toDouble(text)); });
  each<double>("roundToInt16", {-13.5, 0.49999999999999994, 32767.5, kNaN, kInf},
               [](const double& value) { return std::to_string(roundToInt16(value)); });
  each<double>("roundToInt32", {2147483646.5, -kInf},
               [](const double& value) { return std::to_string(roundToInt32(value)); });
  each<std::string>(
      "toBoolean", {" TRUE ", "1", "-1", "0.001", "False", "0", "0.0", "", "yes", "truex", "tru"},
      [](const std::string& text) { return std::string(toBoolean(text) ? "true" : "false"); });
  each<std::string>("leadingNumber",
                    {"", "12-34", " 1 2 3", "1,234", "1e+", "1 e 2", "2D-1", "\t\n- 4 . 5", "1.2.3",
                     "-.", "--5", "7\r8", "1e-999", "1e999", "-1e999"},
                    [](const std::string& text) { return exact(leadingNumber(text)); });
  const double max = std::numeric_limits<double>::max();
  each<double>(
      "formatStandard",
      {-0.0, -1.0, 100.0, 1000.0, 999.995, -1234567.891, 1.005, 0.125, -0.125, 2.675, 0.0049,
       -0.004, -0.005, 1e15, 123456789.125, -kInf, std::numeric_limits<double>::denorm_min(), max},
      [](const double& value) { return formatStandard(value); });
  each<double>(
      "doubleText",
      {-0.0, 0.1, 1.0 / 3, 2.0 / 3, 0.1 + 0.2, -1234.5, 999999999999999.0, 1e15, 9999999999999999.0,
       -2.5e100, 1e-5, 1.25e-5, 9.99e-6, -1e-7, 5e-324, 0.000009999999999999999, kInf, kNaN},
      [](const double& value) { return doubleText(value); });
  out << "integerText(min) " << integerText(std::numeric_limits<std::int64_t>::min()) << '\n';
  // Dates become MM/DD/YYYY; anything that is not a real date is kept as it came.
  const auto date = [](const std::string& text) { return shown(formatDateMMDDYYYY(text)); };
  each<std::string>(
      "formatDateMMDDYYYY",
      {"2024-03-07T23:59:59.1234567-05:00", "2024-03-07T23:30+14:00", "2024-12-31T22:00:00Z",
       "  2024-03-07 ", "3/7/2024", "2000-02-29", "2/29/2024", "0001-01-01", "\t1/1/2024\t",
       "2023-02-29", "1900-02-29", "2024-04-31", "2024-13-01", "2024-01-00", "0000-01-01"},
      date);
  each<std::string>("formatDateMMDDYYYY of no dates",
                    {" 2024-3-7 ", "2024-03-07T", "2024-03-07x", "13/1/2024", "2/30/2024", "1/1/24",
                     "1/1/20245", "1//2024", "+1/1/2024", "", "garbage", "2024-03-07T1:00",
                     "2024-03-07 10:00", "\xff\xfe/1/2024"},
                    date);
  out << "  with a NUL: " << shown(formatDateMMDDYYYY(std::string("2024-01-01\0", 11))) << '\n';
  each<std::string>("trimBlanks", {"  a b  ", "\ta\t", "    "},
                    [](const std::string& text) { return shown(trimBlanks(text)); });
  test::expectGolden(out.str(), "platform/convert.txt");
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

}  // namespace
}  // namespace tarvine::convert
