#include "tools/SheetText.h"

#include <charconv>
#include <cmath>

namespace tarvine::tools {
namespace {

// Fixed decimals through to_chars, which ignores the locale.
std::string fixed(double value, int decimals) {
  char buffer[64];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (error != std::errc()) return "0";
  std::string text(buffer, end);
  if (text.starts_with('-') && text.find_first_not_of("0.", 1) == std::string::npos) {
    text.erase(0, 1);  // never "-0"
  }
  return text;
}

std::string withoutTrailingZeros(std::string text) {
  if (text.find('.') == std::string::npos) return text;
  while (text.ends_with('0')) text.pop_back();
  if (text.ends_with('.')) text.pop_back();
  return text;
}

double finiteOrZero(double value) {
  return std::isfinite(value) ? value : 0;
}

// Digit grouping with "," in the whole part of a number text.
std::string grouped(std::string text) {
  const std::size_t digitsStart = text.starts_with('-') ? 1 : 0;
  std::size_t digitsEnd = text.find('.');
  if (digitsEnd == std::string::npos) digitsEnd = text.size();
  for (std::size_t at = digitsEnd; at > digitsStart + 3; at -= 3) text.insert(at - 3, 1, ',');
  return text;
}

}  // namespace

std::string groupedAmount(double value) {
  return grouped(withoutTrailingZeros(fixed(finiteOrZero(value), 1)));
}

std::string groupedFixed(double value, int decimals) {
  return grouped(plainFixed(value, decimals));
}

std::string plainFixed(double value, int decimals) {
  return fixed(finiteOrZero(value), decimals);
}

std::string percentText(double value, double limit) {
  const double share = limit > 0 ? finiteOrZero(value) * 100.0 / limit : 0;
  return fixed(std::round(share), 0) + " %";
}

}  // namespace tarvine::tools
