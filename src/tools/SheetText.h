#pragma once
// How the tools write numbers: grouped for people, plain for spreadsheets. Never depends on the
// machine's locale.

#include <string>

namespace tarvine::tools {

// For people: rounded to one decimal, the decimal dropped when it is 0, digit grouping with ","
// (20920 gives "20,920", 1234.56 gives "1,234.6").
std::string groupedAmount(double value);

// For people, one format per column: exactly `decimals` decimals, digit grouping with ","
// (20920.5 with 2 gives "20,920.50", 98.44 with 1 gives "98.4").
std::string groupedFixed(double value, int decimals);

// For spreadsheets: exactly `decimals` decimals, "." and no grouping ("125.00", "-1.00", "98.4").
std::string plainFixed(double value, int decimals);

// The share of value in limit as a whole percentage, rounded ("48 %"); "0 %" for a limit of 0.
std::string percentText(double value, double limit);

}  // namespace tarvine::tools
