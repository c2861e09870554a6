#include "platform/Convert.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <system_error>

#include "platform/RuntimeError.h"
#include "platform/Text.h"

namespace tarvine::convert {
namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool isSpaceOrTab(char c) {
  return c == ' ' || c == '\t';
}
bool isExponentLetter(char c) {
  return c == 'e' || c == 'E' || c == 'd' || c == 'D';
}

std::string_view trimSpacesAndTabs(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isSpaceOrTab(text[begin])) ++begin;
  while (end > begin && isSpaceOrTab(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

// A decimal number as written, with grouping and blanks already left out.
struct DecimalParts {
  bool negative = false;
  std::string integerDigits;
  std::string fractionDigits;
  std::int64_t exponent = 0;
};

// Exponents beyond this bound are out of range whatever the mantissa, and the bound keeps the
// sum with any digit count far from the limits of 64 bits.
constexpr std::int64_t kExponentLimit = 1'000'000'000'000'000;

void appendExponentDigit(std::int64_t& exponent, char digit) {
  if (exponent < kExponentLimit) exponent = exponent * 10 + (digit - '0');
}

enum class ReadStatus { kNumber, kNotNumber, kOverflow };

struct ReadResult {
  ReadStatus status = ReadStatus::kNotNumber;
  double value = 0;
};

// The double nearest to the parts. Magnitudes beyond the double range give kOverflow; tiny ones
// give 0.
ReadResult nearestDouble(const DecimalParts& parts) {
  // The value is written as 0.<significant> times 10 to the power <position>.
  std::string significant;
  std::int64_t position = 0;
  const std::size_t firstInteger = parts.integerDigits.find_first_not_of('0');
  if (firstInteger != std::string::npos) {
    significant.reserve(parts.integerDigits.size() - firstInteger + parts.fractionDigits.size());
    significant.append(parts.integerDigits, firstInteger);
    significant.append(parts.fractionDigits);
    position = static_cast<std::int64_t>(parts.integerDigits.size() - firstInteger);
  } else {
    const std::size_t firstFraction = parts.fractionDigits.find_first_not_of('0');
    if (firstFraction == std::string::npos) return {ReadStatus::kNumber, 0.0};
    significant.assign(parts.fractionDigits, firstFraction);
    position = -static_cast<std::int64_t>(firstFraction);
  }
  position += parts.exponent;
  if (position > 400) return {ReadStatus::kOverflow, 0.0};
  if (position < -400) return {ReadStatus::kNumber, 0.0};
  significant.erase(significant.find_last_not_of('0') + 1);

  std::string text = "0.";
  text += significant;
  text += 'e';
  text += std::to_string(position);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error == std::errc::result_out_of_range) {
    if (position > 0) return {ReadStatus::kOverflow, 0.0};
    return {ReadStatus::kNumber, 0.0};
  }
  if (error != std::errc() || end != text.data() + text.size()) return {};
  return {ReadStatus::kNumber, parts.negative ? -value : value};
}

// Powers of ten that a double holds exactly.
constexpr std::array<double, 23> kExactPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Digits a double holds exactly as an integer (below 2^53).
constexpr std::size_t kExactDigits = 15;

// Reads a plain decimal ("-" or nothing, digits, at most one ".") straight away; cells and data
// set columns are nearly all of this form. It gives the nearest double, as the general reading
// does: with at most 15 digits, the digits as an integer divided by a power of ten (both exact,
// and a division rounds to nearest) is that double; longer ones go to from_chars. False for
// anything else, which the general reading then takes.
bool readPlainDecimal(std::string_view text, ReadResult& result) {
  constexpr std::size_t kLongestPlain = 24;
  if (text.empty() || text.size() > kLongestPlain) return false;
  const bool negative = text[0] == '-';
  std::size_t digits = 0;
  std::size_t point = std::string_view::npos;
  std::uint64_t mantissa = 0;
  for (std::size_t i = negative ? 1 : 0; i < text.size(); ++i) {
    if (isDigit(text[i])) {
      ++digits;
      mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[i] - '0');
    } else if (text[i] == '.' && point == std::string_view::npos) {
      point = i;
    } else {
      return false;
    }
  }
  if (digits == 0) return false;
  double value = 0;
  if (digits <= kExactDigits) {
    const std::size_t decimals = point == std::string_view::npos ? 0 : text.size() - point - 1;
    value = static_cast<double>(mantissa) / kExactPowersOfTen[decimals];
    if (negative) value = -value;
  } else {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return false;
  }
  // Zero has no sign here, as in the general reading.
  result = {ReadStatus::kNumber, value == 0 ? 0.0 : value};
  return true;
}

// The strict reading behind parseNumber(), toDouble() and the integer conversions.
ReadResult readNumber(std::string_view text) {
  text = trimSpacesAndTabs(text);
  if (ReadResult plain; readPlainDecimal(text, plain)) return plain;
  DecimalParts parts;
  std::size_t i = 0;
  const std::size_t n = text.size();
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    parts.negative = text[i] == '-';
    ++i;
  }
  for (; i < n; ++i) {
    if (isDigit(text[i])) {
      parts.integerDigits += text[i];
    } else if (text[i] != ',' || parts.integerDigits.empty()) {
      break;
    }
  }
  if (i < n && text[i] == '.') {
    for (++i; i < n && isDigit(text[i]); ++i) parts.fractionDigits += text[i];
  }
  if (parts.integerDigits.empty() && parts.fractionDigits.empty()) return {};
  if (i < n && isExponentLetter(text[i])) {
    ++i;
    bool exponentNegative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
      exponentNegative = text[i] == '-';
      ++i;
    }
    if (i == n || !isDigit(text[i])) return {};
    for (; i < n && isDigit(text[i]); ++i) appendExponentDigit(parts.exponent, text[i]);
    if (exponentNegative) parts.exponent = -parts.exponent;
  }
  if (i != n) return {};
  return nearestDouble(parts);
}

double requireNumber(std::string_view text) {
  const ReadResult result = readNumber(text);
  if (result.status == ReadStatus::kOverflow) throw overflowError();
  if (result.status != ReadStatus::kNumber) throw typeMismatchError();
  return result.value;
}

// Rounds to the nearest integer with ties to the even neighbour, independent of the
// floating-point environment. The subtraction is exact for every finite double.
double roundHalfToEven(double value) {
  const double below = std::floor(value);
  const double fraction = value - below;
  if (fraction > 0.5) return below + 1;
  if (fraction < 0.5) return below;
  return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

template <typename Integer>
Integer roundToInteger(double value) {
  if (!std::isfinite(value)) throw overflowError();
  const double rounded = roundHalfToEven(value);
  if (rounded < static_cast<double>(std::numeric_limits<Integer>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<Integer>::max())) {
    throw overflowError();
  }
  return static_cast<Integer>(rounded);
}

// A finite non-negative double as significant digits and the decimal exponent of the first
// digit; without a precision the digits are the shortest that read back as the same value.
struct DecimalDigits {
  std::string digits;
  int exponent = 0;
};

DecimalDigits decimalDigits(double magnitude, int significantDigits = 0) {
  std::array<char, 64> buffer{};
  const auto result = significantDigits > 0
                          ? std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                          std::chars_format::scientific, significantDigits - 1)
                          : std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                          std::chars_format::scientific);
  const std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
  const std::size_t e = text.find('e');
  DecimalDigits out;
  for (char c : text.substr(0, e)) {
    if (isDigit(c)) out.digits += c;
  }
  const std::string_view exponentText = text.substr(e + 1);
  const bool negative = exponentText.front() == '-';
  std::from_chars(exponentText.data() + 1, exponentText.data() + exponentText.size(), out.exponent);
  if (negative) out.exponent = -out.exponent;
  return out;
}

std::string nonFiniteText(double value) {
  if (std::isnan(value)) return "NaN";
  return value < 0 ? "-Infinity" : "Infinity";
}

// Adds one to a text of decimal digits.
void incrementDigits(std::string& digits) {
  for (std::size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return;
    }
    digits[i] = '0';
  }
  digits.insert(digits.begin(), '1');
}

std::string groupThousands(std::string_view digits) {
  std::string out;
  out.reserve(digits.size() + digits.size() / 3);
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

bool readFixedDigits(std::string_view text, std::size_t& pos, std::size_t count, int& value) {
  if (pos + count > text.size()) return false;
  value = 0;
  for (std::size_t k = 0; k < count; ++k) {
    if (!isDigit(text[pos + k])) return false;
    value = value * 10 + (text[pos + k] - '0');
  }
  pos += count;
  return true;
}

// Reads one or two digits.
bool readShortNumber(std::string_view text, std::size_t& pos, int& value) {
  if (!readFixedDigits(text, pos, 1, value)) return false;
  int second = 0;
  if (readFixedDigits(text, pos, 1, second)) value = value * 10 + second;
  return true;
}

bool isLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool isCalendarDate(int year, int month, int day) {
  static constexpr std::array<int, 12> kDaysInMonth = {31, 28, 31, 30, 31, 30,
                                                       31, 31, 30, 31, 30, 31};
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  const int days =
      kDaysInMonth[static_cast<std::size_t>(month - 1)] + (month == 2 && isLeapYear(year) ? 1 : 0);
  return day <= days;
}

// yyyy-mm-dd, alone or followed by "T" and a time that starts with hh:mm.
bool readIsoDate(std::string_view text, int& year, int& month, int& day) {
  std::size_t pos = 0;
  if (!readFixedDigits(text, pos, 4, year) || pos >= text.size() || text[pos++] != '-') {
    return false;
  }
  if (!readFixedDigits(text, pos, 2, month) || pos >= text.size() || text[pos++] != '-') {
    return false;
  }
  if (!readFixedDigits(text, pos, 2, day)) return false;
  if (pos == text.size()) return true;
  if (text[pos++] != 'T') return false;
  int hour = 0;
  int minute = 0;
  return readFixedDigits(text, pos, 2, hour) && pos < text.size() && text[pos++] == ':' &&
         readFixedDigits(text, pos, 2, minute);
}

// m/d/yyyy with one or two digits for month and day.
bool readUsDate(std::string_view text, int& year, int& month, int& day) {
  std::size_t pos = 0;
  if (!readShortNumber(text, pos, month) || pos >= text.size() || text[pos++] != '/') {
    return false;
  }
  if (!readShortNumber(text, pos, day) || pos >= text.size() || text[pos++] != '/') {
    return false;
  }
  return readFixedDigits(text, pos, 4, year) && pos == text.size();
}

void appendPadded(std::string& out, int value, int width) {
  std::array<char, 8> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  const auto length = static_cast<int>(result.ptr - buffer.data());
  out.append(static_cast<std::size_t>(width > length ? width - length : 0), '0');
  out.append(buffer.data(), result.ptr);
}

}  // namespace

std::optional<double> parseNumber(std::string_view text) {
  const ReadResult result = readNumber(text);
  if (result.status != ReadStatus::kNumber) return std::nullopt;
  return result.value;
}

std::optional<std::int32_t> parseWholeNumber(std::string_view text) {
  const std::optional<double> value = parseNumber(text);
  if (!value || *value != std::floor(*value) || *value < INT32_MIN || *value > INT32_MAX) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(*value);
}

bool isNumeric(std::string_view text) {
  return readNumber(text).status == ReadStatus::kNumber;
}

double toDouble(std::string_view text) {
  return requireNumber(text);
}

std::int16_t toInt16(std::string_view text) {
  return roundToInt16(requireNumber(text));
}

std::int32_t toInt32(std::string_view text) {
  return roundToInt32(requireNumber(text));
}

std::int16_t roundToInt16(double value) {
  return roundToInteger<std::int16_t>(value);
}

std::int32_t roundToInt32(double value) {
  return roundToInteger<std::int32_t>(value);
}

bool toBoolean(std::string_view text) {
  const std::string_view word = trimSpacesAndTabs(text);
  if (text::equalsIgnoringCase(word, "true")) return true;
  if (text::equalsIgnoringCase(word, "false")) return false;
  return requireNumber(text) != 0;
}

double leadingNumber(std::string_view text) {
  std::size_t i = 0;
  // The next character that is not a blank, or '\0' at the end of the text.
  auto peek = [&]() {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n')) ++i;
    return i < text.size() ? text[i] : '\0';
  };
  DecimalParts parts;
  if (peek() == '+' || peek() == '-') {
    parts.negative = text[i] == '-';
    ++i;
  }
  for (; isDigit(peek()); ++i) parts.integerDigits += text[i];
  if (peek() == '.') {
    for (++i; isDigit(peek()); ++i) parts.fractionDigits += text[i];
  }
  if (parts.integerDigits.empty() && parts.fractionDigits.empty()) return 0;
  if (isExponentLetter(peek())) {
    ++i;
    bool exponentNegative = false;
    if (peek() == '+' || peek() == '-') {
      exponentNegative = text[i] == '-';
      ++i;
    }
    for (; isDigit(peek()); ++i) appendExponentDigit(parts.exponent, text[i]);
    if (exponentNegative) parts.exponent = -parts.exponent;
  }
  const ReadResult result = nearestDouble(parts);
  if (result.status == ReadStatus::kOverflow) {
    return parts.negative ? -HUGE_VAL : HUGE_VAL;
  }
  return result.value;
}

namespace {

// The value in hundredths when its shortest decimal text has at most two decimals, which the
// standard format then shows as it is: the candidate is exact when dividing it by 100 gives the
// value back (a division rounds to nearest, so no other text with two decimals reads as this
// value below 1e13, where hundredths are further apart than doubles). Nothing otherwise (more
// decimals, to be rounded from the shortest text).
std::optional<std::int64_t> exactCents(double value) {
  constexpr double kLargest = 1e13;
  if (!(std::fabs(value) < kLargest)) return std::nullopt;
  const double cents = std::nearbyint(value * 100);
  if (cents / 100 != value) return std::nullopt;
  return static_cast<std::int64_t>(cents);
}

std::string standardFromCents(std::int64_t cents) {
  const std::uint64_t magnitude =
      cents < 0 ? static_cast<std::uint64_t>(-cents) : static_cast<std::uint64_t>(cents);
  std::array<char, 24> digits{};
  const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), magnitude / 100).ptr;
  std::string out = cents < 0 ? "-" : "";
  out += groupThousands(
      std::string_view(digits.data(), static_cast<std::size_t>(end - digits.data())));
  out += '.';
  out += static_cast<char>('0' + magnitude % 100 / 10);
  out += static_cast<char>('0' + magnitude % 10);
  return out;
}

}  // namespace

double roundToCents(double value) {
  if (const std::optional<std::int64_t> cents = exactCents(value)) {
    return static_cast<double>(*cents) / 100;
  }
  return toDouble(formatStandard(value));
}

std::string formatStandard(double value) {
  if (const std::optional<std::int64_t> cents = exactCents(value)) {
    return standardFromCents(*cents);
  }
  if (!std::isfinite(value)) return nonFiniteText(value);
  // Round the shortest decimal text, so that 1.005 (stored a little below) shows 1.01.
  const DecimalDigits decimal = decimalDigits(std::fabs(value));
  auto digitAt = [&](int power) {  // the digit standing for 10^power
    const int index = decimal.exponent - power;
    return index >= 0 && index < static_cast<int>(decimal.digits.size())
               ? decimal.digits[static_cast<std::size_t>(index)]
               : '0';
  };
  std::string cents;  // the value in hundredths, as digits
  for (int power = std::max(decimal.exponent, 0); power >= -2; --power) cents += digitAt(power);
  if (digitAt(-3) >= '5') incrementDigits(cents);
  const std::string_view whole = std::string_view(cents).substr(0, cents.size() - 2);
  const bool isZero = cents.find_first_not_of('0') == std::string::npos;

  std::string out = value < 0 && !isZero ? "-" : "";
  out += groupThousands(whole);
  out += '.';
  out += cents.substr(cents.size() - 2);
  return out;
}

std::string integerText(std::int64_t value) {
  std::array<char, 24> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string(buffer.data(), result.ptr);
}

std::string doubleText(double value) {
  if (!std::isfinite(value)) return nonFiniteText(value);
  if (value == 0) return "0";
  DecimalDigits decimal = decimalDigits(std::fabs(value), 15);
  decimal.digits.erase(decimal.digits.find_last_not_of('0') + 1);
  const std::string& digits = decimal.digits;
  const int exponent = decimal.exponent;

  std::string out = value < 0 ? "-" : "";
  if (exponent >= 15 || exponent < -5) {
    out += digits.front();
    if (digits.size() > 1) {
      out += '.';
      out.append(digits, 1);
    }
    out += exponent < 0 ? "E-" : "E+";
    appendPadded(out, std::abs(exponent), 2);
  } else if (exponent >= 0) {
    const auto wholeDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= wholeDigits) {
      out += digits;
      out.append(wholeDigits - digits.size(), '0');
    } else {
      out.append(digits, 0, wholeDigits);
      out += '.';
      out.append(digits, wholeDigits);
    }
  } else {
    out += "0.";
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out += digits;
  }
  return out;
}

std::string formatDateMMDDYYYY(std::string_view text) {
  const std::string_view trimmed = trimSpacesAndTabs(text);
  int year = 0;
  int month = 0;
  int day = 0;
  const bool read = readIsoDate(trimmed, year, month, day) || readUsDate(trimmed, year, month, day);
  if (!read || !isCalendarDate(year, month, day)) return std::string(text);
  std::string out;
  appendPadded(out, month, 2);
  out += '/';
  appendPadded(out, day, 2);
  out += '/';
  appendPadded(out, year, 4);
  return out;
}

std::string_view trimBlanks(std::string_view text) {
  const std::size_t begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  const std::size_t end = text.find_last_not_of(' ');
  return text.substr(begin, end - begin + 1);
}

}  // namespace tarvine::convert
