// How the route service reads numbers from requests and writes numbers and dates into data sets.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvine::serve {

// An amount to two decimals as a plain decimal text: "125.5", "1234.75", "-1", "0"
// (rounded to cents, trailing zeros dropped, no grouping). Never fails.
std::string formatAmount(double value);

// An integer text of an XML Schema int: blanks around it, an optional sign, 1 to 18 digits.
// Empty when the text is anything else.
std::optional<std::int64_t> parseIntegerText(std::string_view text);

// A plain decimal text ("-12.5", "3", "0.125": optional "-", digits, optional "." and digits,
// blanks around it) rounded to whole cents, halves away from zero. Empty when the text is anything
// else or has more than 15 digits before the point.
std::optional<std::int64_t> parseCentsText(std::string_view text);

// A YYYY-MM-DD date as a .NET data set writes a date: midnight with the local time zone's
// offset of that day, e.g. "2026-11-30T00:00:00-05:00". Other texts come back unchanged.
std::string formatDataSetDate(std::string_view isoDate);

}  // namespace tarvine::serve
