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

constexpr std::string_view kHeader =
    "Manifest,Route,Printed,Person,Line,Center,Center name,P.O.,Segment,Received,Cartons,"
    "Weight (lb),Cube (cu ft),Freight ($),Hot";

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

// The fields of one line after the sheet's own four: Line, Center, Center name, P.O., Segment,
// Received (texts), then Cartons, Weight, Cube, Freight (numbers, already written), Hot.
struct Fields {
  std::string_view line, center, centerName, order, segment, received;
  std::string cartons, weight, cube, freight;
  std::string_view hot;
};

void writeLine(std::ostream& out, const LoadSheet& sheet, const Fields& f) {
  for (std::string_view text : {std::string_view(sheet.manifest), std::string_view(sheet.route),
                                std::string_view(sheet.printed), std::string_view(sheet.person),
                                f.line, f.center, f.centerName, f.order, f.segment, f.received}) {
    writeText(out, text);
    out << ',';
  }
  out << f.cartons << ',' << f.weight << ',' << f.cube << ',' << f.freight << ',';
  writeText(out, f.hot);
  out << "\r\n";
}

Fields sumFields(std::string_view line, const SheetFigures& sums) {
  return {line,
          {},
          {},
          {},
          {},
          {},
          plainAmount(sums.cartons),
          plainAmount(sums.weight),
          plainAmount(sums.cube),
          plainCents(sums.freight),
          {}};
}

// A whole percentage without its sign, for a spreadsheet.
std::string plainPercent(double value, double limit) {
  std::string text = percentText(value, limit);
  return text.substr(0, text.find(' '));
}

}  // namespace

void writeLoadSheetCsv(const LoadSheet& sheet, std::ostream& out) {
  out << kHeader << "\r\n";
  for (const SheetCenter& center : sheet.centers) {
    for (const SheetLine& line : center.lines) {
      writeLine(out, sheet,
                {"Segment", center.id, center.name, line.order, line.segment, line.received,
                 plainAmount(line.cartons), plainAmount(line.weight), plainAmount(line.cube),
                 plainCents(line.freight), line.hot ? "X" : ""});
    }
    Fields subtotal = sumFields("Center total", center.subtotal);
    subtotal.center = center.id;
    subtotal.centerName = center.name;
    writeLine(out, sheet, subtotal);
  }
  writeLine(out, sheet, sumFields("Load total", sheet.totals));
  if (const auto& limits = sheet.limits) {
    const SheetFigures& t = sheet.totals;
    const std::string cartons = limits->cartons ? plainAmount(*limits->cartons) : "";
    writeLine(out, sheet,
              {"Trailer limit",
               {},
               {},
               {},
               {},
               {},
               cartons,
               plainAmount(limits->weight),
               plainAmount(limits->cube),
               {},
               {}});
    writeLine(out, sheet,
              {"Fill (%)",
               {},
               {},
               {},
               {},
               {},
               limits->cartons ? plainPercent(t.cartons, *limits->cartons) : "",
               plainPercent(t.weight, limits->weight),
               plainPercent(t.cube, limits->cube),
               {},
               {}});
  }
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
