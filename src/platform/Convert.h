#pragma once
// Number, date and text conversions with the platform's rules: lenient number reading, rounding
// halves to even, the "standard" format.
// Texts the control shows follow United States conventions; texts written into requests and
// statements always use "." and no digit grouping, whatever the machine's locale.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvine::convert {

// Reads a number as the platform does: blanks around it, a leading sign, digit grouping with
// "," in the integer part, one decimal point and an exponent (E or D) are accepted. Returns
// nothing for any other text, the empty text and blanks alone included.
std::optional<double> parseNumber(std::string_view text);

// The text as parseNumber() reads it when that is a whole number within 32 bits; else nothing.
std::optional<std::int32_t> parseWholeNumber(std::string_view text);

// True when parseNumber() would read the text.
bool isNumeric(std::string_view text);

// Text to double; throws Type mismatch (13) when the text is not a number.
double toDouble(std::string_view text);

// Text to 16-bit integer: read as a number, rounded to nearest with ties to even. Throws Type
// mismatch (13) for a text that is not a number, Overflow (6) outside -32768..32767.
std::int16_t toInt16(std::string_view text);

// Text to 32-bit integer, with the rules of toInt16() and the 32-bit range.
std::int32_t toInt32(std::string_view text);

// A double rounded to nearest (ties to even) into 16 or 32 bits; Overflow (6) when out of range
// or not finite.
std::int16_t roundToInt16(double value);
std::int32_t roundToInt32(double value);

// Text to boolean: "true"/"false" in any letter case, or a number (0 is false, any other true).
// Throws Type mismatch (13) for anything else.
bool toBoolean(std::string_view text);

// The lenient leading-number reading used on order ids: blanks anywhere are skipped, reading
// stops at the first character that cannot continue a number, an empty text reads as 0. Never
// fails; an exponent that overflows gives infinity.
double leadingNumber(std::string_view text);

// The "standard" format: rounded to two decimals (halves away from zero), digit grouping with
// ",", decimal point ".", exactly two decimals, leading "-" for negative values (never "-0.00").
std::string formatStandard(double value);

// toDouble(formatStandard(value)): the value rounded to cents as the standard format shows it,
// read back. Without the text when the value has at most two decimals. Never fails for a
// finite value.
double roundToCents(double value);

// Shortest decimal text of an integer: no blank, no grouping, "-" before a negative value.
std::string integerText(std::int64_t value);

// The general double-to-text conversion: at most 15 significant digits, no grouping, no trailing
// zeros, "." as decimal point; very large or small magnitudes as 1.5E+20 or 1E-07.
std::string doubleText(double value);

// Reads a date (ISO 8601 date or date-time, the date part as written with no time-zone shift;
// m/d/yyyy; yyyy-mm-dd) and writes it as mm/dd/yyyy. A text that is none of these, or not a real
// calendar date, comes back unchanged.
std::string formatDateMMDDYYYY(std::string_view text);

// The text with leading and trailing blanks (spaces only) removed.
std::string_view trimBlanks(std::string_view text);

}  // namespace tarvine::convert
