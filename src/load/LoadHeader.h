#pragma once
// The load's header data sets (centers on the route, route description, basic totals) read into
// plain rows, and the texts the header shows for them.

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvine {

// One row of a header data set: the texts of the columns asked for, in the order asked.
using HeaderRow = std::vector<std::string>;

// The columns read from each header data set.
inline constexpr std::array<std::string_view, 2> kCenterColumns = {"CenterID", "CenterName"};
inline constexpr std::array<std::string_view, 2> kRouteColumns = {"Description", "Route"};
inline constexpr std::array<std::string_view, 3> kBasicTotalColumns = {"SumParcels", "SumWeight",
                                                                       "SumFreight"};

// Every row of a header data set (the unwrapped reply text), with the texts of `columns`. As for
// order records, the texts carry over from row to row: a column missing from a row keeps the
// text the row before had (empty before the first). Empty or unparsable text gives no rows.
// Throws RuntimeError 7 when the text is refused for its shape (as loadDataSet does).
std::vector<HeaderRow> readHeaderRows(std::string dataSetText,
                                      std::span<const std::string_view> columns);

// The center box's entry of a center: its name, "  [ ", its id, " ] ".
std::string centerEntryText(const std::string& centerID, const std::string& centerName);

// The route caption: the description, " [", the route, " ]".
std::string routeCaption(const std::string& description, const std::string& route);

// A basic total as shown: in the standard format when the text reads as a number (12 shows as
// 12.00), else the text as it is.
std::string basicTotalText(const std::string& text);

}  // namespace tarvine
