#include "QueryOperations.h"

#include <cmath>
#include <string>
#include <unordered_map>

#include "DataSetWriter.h"
#include "Database.h"
#include "SoapRequest.h"
#include "ValueText.h"

namespace tarvine::serve {
namespace {

constexpr std::int64_t kLoadMin = -32768;
constexpr std::int64_t kLoadMax = 32767;

std::int64_t loadParameter(const SoapRequest& request) {
  return request.integer("OutgoingLoadID", kLoadMin, kLoadMax);
}

OperationResult finished(DataSetWriter& writer) {
  OperationResult result;
  result.rows = writer.rows();
  result.resultText = writer.finish();
  return result;
}

// One segment's columns, in the order the data set lists them; the order's total weight comes
// from the primary key index, so the cost stays proportional to the rows returned.
constexpr const char* kSegmentColumns =
    "h.OrderID, h.VOZA_OrderSegment, h.LoadDate, h.NumberParcels, h.FactoryWeight, h.CubicFeet, "
    "h.FreightCost, h.OutgoingLoad, h.Freight, h.CenterID, h.MinimumCharge, "
    "(SELECT SUM(o.FactoryWeight) FROM VOZA_OrderHeader o "
    " WHERE o.CenterID = h.CenterID AND o.OrderID = h.OrderID), "
    "h.TotalRate, h.TotalSuggestedFreight, h.HighPriorityIndicator, h.OverrideFreightIndicator";

// The segments on the load, and those of no load at the route's centers for the facility.
constexpr const char* kOnTheLoad = " FROM VOZA_OrderHeader h WHERE h.OutgoingLoad = ?1";
constexpr const char* kAstrayOnTheRoute =
    " FROM OutgoingLoad l JOIN RouteStop s ON s.RouteID = l.RouteID"
    " JOIN VOZA_OrderHeader h ON h.CenterID = s.CenterID"
    " WHERE l.OutgoingLoadID = ?1 AND h.OutgoingLoad IS NULL AND h.FacilityID = ?2";

const std::string& allOrdersSql() {
  static const std::string sql = std::string("SELECT ") + kSegmentColumns + kOnTheLoad +
                                 " UNION ALL SELECT " + kSegmentColumns + kAstrayOnTheRoute +
                                 " ORDER BY 10, 1, 2";
  return sql;
}

// The rows allOrdersSql gives, counted from the indexes without sorting them.
std::size_t allOrdersRows(Database& db, std::int64_t load, const std::string& facility) {
  static const std::string sql = std::string("SELECT (SELECT COUNT(*)") + kOnTheLoad +
                                 ") + (SELECT COUNT(*)" + kAstrayOnTheRoute + ")";
  Statement& count = db.prepare(sql);
  count.bind(1, load).bind(2, facility);
  const std::size_t rows = count.step() ? static_cast<std::size_t>(count.integer(0)) : 0;
  count.reset();
  return rows;
}

// The fewest bytes a segment's row takes in the data set: its sixteen columns' markup alone.
constexpr std::size_t kLeastSegmentRowBytes = 700;

// Dates repeat across a load, so each distinct one is formatted once.
class DateTexts {
 public:
  const std::string& operator()(std::string_view isoDate) {
    auto found = texts_.find(std::string(isoDate));
    if (found == texts_.end()) {
      found = texts_.emplace(std::string(isoDate), formatDataSetDate(isoDate)).first;
    }
    return found->second;
  }

 private:
  std::unordered_map<std::string, std::string> texts_;
};

void writeSegmentRow(DataSetWriter& writer, const Statement& row, DateTexts& dates) {
  writer.beginRow();
  writer.column("OrderID", row.text(0));
  writer.column("VOZA_OrderSegment", std::to_string(row.integer(1)));
  writer.column("LoadDate", dates(row.text(2)));
  writer.column("NumberParcels", std::to_string(row.integer(3)));
  writer.column("FactoryWeight", formatAmount(row.real(4)));
  writer.column("CubicFeet", formatAmount(row.real(5)));
  writer.column("FreightCost", formatAmount(row.real(6)));
  writer.column("OutgoingLoad", row.isNull(7) ? "0" : std::to_string(row.integer(7)));
  writer.column("Freight", row.isNull(8) ? "NoRate" : formatAmount(row.real(8)));
  writer.column("CenterID", std::to_string(row.integer(9)));
  writer.column("MinimumCharge", formatAmount(row.real(10)));
  writer.column("TotalFactoryWeight", std::to_string(std::llround(row.real(11))));
  writer.column("TotalRate", formatAmount(row.real(12)));
  writer.column("TotalSuggestedFreight", formatAmount(row.real(13)));
  writer.column("HighPriorityIndicator", row.integer(14) != 0 ? "true" : "false");
  writer.column("OverrideFreightIndicator", row.integer(15) != 0 ? "true" : "false");
  writer.endRow();
}

}  // namespace

OperationResult getOutgoingLoadCenterIDAndCenter(const SoapRequest& request, Database& db,
                                                 RequestRecord& /*record*/) {
  Statement& query = db.prepare(
      "SELECT c.CenterID, c.CenterName FROM OutgoingLoad l"
      " JOIN RouteStop s ON s.RouteID = l.RouteID JOIN Center c ON c.CenterID = s.CenterID"
      " WHERE l.OutgoingLoadID = ?1 ORDER BY s.StopOrder");
  query.bind(1, loadParameter(request));
  DataSetWriter writer;
  while (query.step()) {
    writer.beginRow();
    writer.column("CenterID", std::to_string(query.integer(0)));
    writer.column("CenterName", query.text(1));
    writer.endRow();
  }
  return finished(writer);
}

OperationResult getOutgoingLoadDescriptionRoute(const SoapRequest& request, Database& db,
                                                RequestRecord& /*record*/) {
  Statement& query = db.prepare(
      "SELECT r.Description, r.Route FROM OutgoingLoad l JOIN Route r ON r.RouteID = l.RouteID"
      " WHERE l.OutgoingLoadID = ?1");
  query.bind(1, loadParameter(request));
  DataSetWriter writer;
  while (query.step()) {
    writer.beginRow();
    writer.column("Description", query.text(0));
    writer.column("Route", query.text(1));
    writer.endRow();
  }
  return finished(writer);
}

OperationResult getOutgoingLoadAllOrders(const SoapRequest& request, Database& db,
                                         RequestRecord& /*record*/) {
  const std::int64_t load = loadParameter(request);
  const std::string facility = request.text("FacilityID");
  DataSetWriter writer(256);
  // A reply the service could not hold is refused before the costly sorted query runs.
  writer.reserve(allOrdersRows(db, load, facility) * kLeastSegmentRowBytes);
  Statement& query = db.prepare(allOrdersSql());
  query.bind(1, load).bind(2, facility);
  DateTexts dates;
  while (query.step()) writeSegmentRow(writer, query, dates);
  return finished(writer);
}

OperationResult getOutgoingLoadBasicTotal(const SoapRequest& request, Database& db,
                                          RequestRecord& /*record*/) {
  Statement& query = db.prepare(
      "SELECT SUM(CubicFeet), SUM(Freight), SUM(NumberParcels), SUM(FactoryWeight)"
      " FROM VOZA_OrderHeader WHERE OutgoingLoad = ?1");
  query.bind(1, loadParameter(request));
  DataSetWriter writer;
  if (query.step()) {
    writer.beginRow();
    if (!query.isNull(0)) writer.column("SumCubicFeet", formatAmount(query.real(0)));
    if (!query.isNull(1)) writer.column("SumFreight", formatAmount(query.real(1)));
    if (!query.isNull(2)) writer.column("SumParcels", std::to_string(query.integer(2)));
    if (!query.isNull(3)) writer.column("SumWeight", formatAmount(query.real(3)));
    writer.endRow();
  }
  return finished(writer);
}

// Besides the found flag, the center and the highest segment, the reply names the load the
// P.O.'s segments ride on (the lowest, when they ride on several; "0" for none), so that a
// client can tell before an astray add splits a P.O. over two trucks.
OperationResult isPOFound(const SoapRequest& request, Database& db, RequestRecord& /*record*/) {
  Statement& query = db.prepare(
      "SELECT CenterID, MAX(VOZA_OrderSegment), MIN(OutgoingLoad) FROM VOZA_OrderHeader"
      " WHERE OrderID = ?1");
  query.bind(1, request.text("OrderID"));
  DataSetWriter writer;
  const bool found = query.step() && !query.isNull(1);
  writer.beginRow();
  writer.column("IsPOFound", found ? "1" : "0");
  if (found) {
    writer.column("CenterID", std::to_string(query.integer(0)));
    writer.column("HighestSegmentNumber", std::to_string(query.integer(1)));
    writer.column("OutgoingLoad", query.isNull(2) ? "0" : std::to_string(query.integer(2)));
  }
  writer.endRow();
  return finished(writer);
}

}  // namespace tarvine::serve
