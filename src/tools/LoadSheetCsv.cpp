#include "tools/LoadSheetCsv.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <string_view>

#include "tools/SheetText.h"

namespace tarvine::tools {
namespace {

constexpr std::string_view kTableHeader =
    "Line,Center,Center name,P.O.,Segment,Received,Cartons,Weight (lb),Cube (cu ft),Freight ($),"
    "Hot";

// True when a spreadsheet could take the text for a formula: its first character after any
// spaces is = + - @, a tab, a carriage return, or the full-width form of = + - @ (U+FF1D, U+FF0B,
// U+FF0D, U+FF20, which some spreadsheets read as the plain ones).
bool looksLikeFormula(std::string_view text) {
  const std::string_view rest = text.substr(std::min(text.find_first_not_of(' '), text.size()));
  if (!rest.empty() && std::string_view("=+-@\t\r").find(rest[0]) != std::string_view::npos) {
    return true;
  }
  for (const std::string_view wide : {"\uFF1D", "\uFF0B", "\uFF0D", "\uFF20"}) {
    if (rest.starts_with(wide)) return true;
  }
  return false;
}

// A text field: guarded against formulas, quoted when it must be.
void writeText(std::ostream& out, std::string_view text) {
  const bool formula = looksLikeFormula(text);
  const bool quoted = formula || text.find_first_of(",\"\r\n") != std::string_view::npos;
  if (!quoted) {
    out << text;
    return;
  }
  out << '"';
  if (formula) out << '\'';
  for (char c : text) {
    if (c == '"') out << '"';
    out << c;
  }
  out << '"';
}

// Text fields separated by commas, then the line's end.
void writeTexts(std::ostream& out, std::initializer_list<std::string_view> texts) {
  const char* separator = "";
  for (std::string_view text : texts) {
    out << separator;
    writeText(out, text);
    separator = ",";
  }
  out << "\r\n";
}

// A line of the table: Line, Center, Center name, P.O., Segment, Received (texts), the four
// figures in the columns' formats, Hot.
void writeTableLine(std::ostream& out, std::initializer_list<std::string_view> texts,
                    const SheetFigures& figures, std::string_view hot) {
  for (std::string_view text : texts) {
    writeText(out, text);
    out << ',';
  }
  out << plainFixed(figures.cartons, kCartonDecimals) << ','
      << plainFixed(figures.weight, kWeightDecimals) << ','
      << plainFixed(figures.cube, kCubeDecimals) << ','
      << plainFixed(figures.freight, kFreightDecimals) << ',';
  writeText(out, hot);
  out << "\r\n";
}

// A whole percentage without its sign, for a spreadsheet.
std::string plainPercent(double value, double limit) {
  std::string text = percentText(value, limit);
  return text.substr(0, text.find(' '));
}

// The trailer's limits and how full the sheet's load makes it, a line per limit.
void writeTrailer(std::ostream& out, const LoadSheet& sheet) {
  const TrailerLimits& limits = *sheet.limits;
  const SheetFigures& t = sheet.totals;
  out << "Trailer,Limit,On this sheet,Fill (%)\r\n";
  out << "Weight (lb)," << plainFixed(limits.weight, kWeightDecimals) << ','
      << plainFixed(t.weight, kWeightDecimals) << ',' << plainPercent(t.weight, limits.weight)
      << "\r\n";
  out << "Cube (cu ft)," << plainFixed(limits.cube, kCubeDecimals) << ','
      << plainFixed(t.cube, kCubeDecimals) << ',' << plainPercent(t.cube, limits.cube) << "\r\n";
  if (limits.cartons) {
    out << "Cartons," << *limits.cartons << ',' << plainFixed(t.cartons, kCartonDecimals) << ','
        << plainPercent(t.cartons, *limits.cartons) << "\r\n";
  }
}

}  // namespace

void writeLoadSheetCsv(const LoadSheet& sheet, std::ostream& out) {
  writeTexts(out, {"Manifest", sheet.manifest});
  writeTexts(out, {"Route", sheet.route});
  writeTexts(out, {"Printed", sheet.printed});
  writeTexts(out, {"Person", sheet.person});
  if (const std::string note = unsavedNote(sheet); !note.empty()) writeTexts(out, {note});
  writeTexts(out, {"Totals", std::string(kSheetTotalsCount[0]) + " " + kSheetTotalsCount[1]});
  if (sheet.limits) writeTrailer(out, sheet);
  out << "\r\n" << kTableHeader << "\r\n";
  for (const SheetCenter& center : sheet.centers) {
    for (const SheetLine& line : center.lines) {
      writeTableLine(out,
                     {"Segment", center.id, center.name, line.order, line.segment, line.received},
                     {1, line.cartons, line.weight, line.cube, line.freight}, line.hot ? "X" : "");
    }
    writeTableLine(out, {"Center subtotal", center.id, center.name, "", "", ""}, center.subtotal,
                   "");
  }
  writeTableLine(out, {"Load total", "", "", "", "", ""}, sheet.totals, "");
}

std::string saveLoadSheetCsv(const LoadSheet& sheet, const std::string& path) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return "cannot write " + path + ": " + std::strerror(errno);
  writeLoadSheetCsv(sheet, file);
  file.flush();
  if (!file) return "cannot write " + path + ": " + std::strerror(errno);
  return {};
}

}  // namespace tarvine::tools
