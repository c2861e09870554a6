#include "ValueText.h"

#include <cmath>
#include <ctime>

namespace tarvine::serve {
namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

bool isXmlBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view trimXmlBlanks(std::string_view text) {
  while (!text.empty() && isXmlBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isXmlBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Reads a run of at most maxDigits digits; empty when there is none or it is too long.
std::optional<std::int64_t> readDigits(std::string_view digits, std::size_t maxDigits) {
  if (digits.empty() || digits.size() > maxDigits) return std::nullopt;
  std::int64_t value = 0;
  for (const char c : digits) {
    if (!isDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

void appendTwoDigits(std::string& out, int value) {
  out += static_cast<char>('0' + value / 10);
  out += static_cast<char>('0' + value % 10);
}

}  // namespace

std::string formatAmount(double value) {
  if (!std::isfinite(value)) return "0";
  const long long cents = std::llround(value * 100.0);
  const long long magnitude = cents < 0 ? -cents : cents;
  std::string text = cents < 0 ? "-" : "";
  text += std::to_string(magnitude / 100);
  const long long fraction = magnitude % 100;
  if (fraction != 0) {
    text += '.';
    text += static_cast<char>('0' + fraction / 10);
    if (fraction % 10 != 0) text += static_cast<char>('0' + fraction % 10);
  }
  return text;
}

std::optional<std::int64_t> parseIntegerText(std::string_view text) {
  text = trimXmlBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const auto value = readDigits(text, 18);
  if (!value) return std::nullopt;
  return negative ? -*value : *value;
}

std::optional<std::int64_t> parseCentsText(std::string_view text) {
  text = trimXmlBlanks(text);
  bool negative = false;
  if (!text.empty() && text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }
  const std::size_t point = text.find('.');
  const auto whole = readDigits(text.substr(0, point), 15);
  if (!whole) return std::nullopt;
  std::int64_t cents = *whole * 100;
  if (point != std::string_view::npos) {
    const std::string_view fraction = text.substr(point + 1);
    if (fraction.empty()) return std::nullopt;
    for (std::size_t i = 0; i < fraction.size(); ++i) {
      if (!isDigit(fraction[i])) return std::nullopt;
      const int digit = fraction[i] - '0';
      if (i == 0) cents += digit * 10;
      if (i == 1) cents += digit;
      if (i == 2 && digit >= 5) cents += 1;
    }
  }
  return negative ? -cents : cents;
}

std::string formatDataSetDate(std::string_view isoDate) {
  const bool shaped = isoDate.size() == 10 && isoDate[4] == '-' && isoDate[7] == '-';
  const auto year = shaped ? readDigits(isoDate.substr(0, 4), 4) : std::nullopt;
  const auto month = shaped ? readDigits(isoDate.substr(5, 2), 2) : std::nullopt;
  const auto day = shaped ? readDigits(isoDate.substr(8, 2), 2) : std::nullopt;
  if (!year || !month || !day) return std::string(isoDate);

  std::tm local{};
  local.tm_year = static_cast<int>(*year) - 1900;
  local.tm_mon = static_cast<int>(*month) - 1;
  local.tm_mday = static_cast<int>(*day);
  local.tm_isdst = -1;
  const std::time_t moment = std::mktime(&local);
  std::tm resolved{};
  long offsetSeconds = 0;
  if (moment != static_cast<std::time_t>(-1) && localtime_r(&moment, &resolved)) {
    offsetSeconds = resolved.tm_gmtoff;
  }
  const long offsetMinutes = (offsetSeconds < 0 ? -offsetSeconds : offsetSeconds) / 60;

  std::string text(isoDate);
  text += "T00:00:00";
  text += offsetSeconds < 0 ? '-' : '+';
  appendTwoDigits(text, static_cast<int>(offsetMinutes / 60));
  text += ':';
  appendTwoDigits(text, static_cast<int>(offsetMinutes % 60));
  return text;
}

}  // namespace tarvine::serve
