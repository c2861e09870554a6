// The number, date and text conversions, fed arbitrary texts as a reply column or a user's
// entry would hold them. Checks that the readings agree with each other: the quick reading of
// plain decimals with the general one and with strtod, and that every text the conversions
// write reads back.

#include <cmath>
#include <cstdlib>

#include "FuzzCheck.h"
#include "platform/Convert.h"
#include "platform/RuntimeError.h"

namespace {

using namespace tarvine;
using fuzz::check;

bool isPlainDecimal(std::string_view text) {
  std::size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
  bool digits = false, point = false;
  for (; i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= '9') {
      digits = true;
    } else if (text[i] == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digits;
}

// The same number written so that only the general reading takes it: "+" in front, or "," after
// the first integer digit.
std::string generalForm(std::string_view plain) {
  std::string text(plain);
  if (text[0] == '-') {
    const std::size_t first = 1;
    if (first + 1 < text.size() && text[first] != '.' && text[first + 1] != '.') {
      text.insert(first + 1, ",");
      return text;
    }
    return {};
  }
  return "+" + text;
}

template <typename F>
void ignoringRuntimeErrors(F&& f) {
  try {
    f();
  } catch (const RuntimeError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::inputText(data, size);
  const std::optional<double> number = convert::parseNumber(text);
  check(convert::isNumeric(text) == number.has_value(), "isNumeric agrees with parseNumber");

  const std::string_view trimmed = convert::trimBlanks(text);
  check(trimmed.size() <= text.size(), "trimming never grows a text");
  if (isPlainDecimal(trimmed) && trimmed.size() <= 64 && number) {
    const std::string copy(trimmed);
    const double expected = std::strtod(copy.c_str(), nullptr);
    if (std::isfinite(expected)) {
      check(*number == expected, "a plain decimal reads as strtod reads it");
      const std::string general = generalForm(trimmed);
      if (!general.empty()) {
        const std::optional<double> again = convert::parseNumber(general);
        check(again && *again == *number, "the general reading agrees with the quick one");
      }
    }
  }
  if (number && std::isfinite(*number)) {
    const std::string standard = convert::formatStandard(*number);
    check(convert::isNumeric(standard), "the standard format reads back");
    const std::optional<double> shortest = convert::parseNumber(convert::doubleText(*number));
    check(shortest.has_value(), "the general double text reads back");
  }
  ignoringRuntimeErrors([&] {
    const std::int16_t value = convert::toInt16(text);
    check(convert::toInt16(convert::integerText(value)) == value, "16-bit numbers read back");
  });
  ignoringRuntimeErrors([&] { convert::toInt32(text); });
  ignoringRuntimeErrors([&] { convert::toDouble(text); });
  ignoringRuntimeErrors([&] { convert::toBoolean(text); });
  convert::leadingNumber(text);

  const std::string date = convert::formatDateMMDDYYYY(text);
  check(date == text || (date.size() == 10 && date[2] == '/' && date[5] == '/'),
        "a date comes out as mm/dd/yyyy or unchanged");
  return 0;
}
