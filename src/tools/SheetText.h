#pragma once
// How the tools write numbers: grouped for people, plain for spreadsheets. Never depends on the
// machine's locale.

#include <string>

namespace tarvine::tools {

// For people: rounded to one decimal, the decimal dropped when it is 0, digit grouping with ","
// (20920 gives "20,920", 1234.56 gives "1,234.6").
std::string groupedAmount(double value);

// For spreadsheets: rounded to two decimals, trailing zeros dropped, "." as decimal point and no
// grouping (20920 gives "20920", 45.50 gives "45.5").
std::string plainAmount(double value);

// For spreadsheets: exactly two decimals, "." and no grouping ("125.00", "-1.00").
std::string plainCents(double value);

// The share of value in limit as a whole percentage, rounded ("48 %"); "0 %" for a limit of 0.
std::string percentText(double value, double limit);

}  // namespace tarvine::tools
