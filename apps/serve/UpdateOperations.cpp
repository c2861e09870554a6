#include "UpdateOperations.h"

#include <algorithm>
#include <string>
#include <vector>

#include "Database.h"
#include "RequestLog.h"
#include "SoapFault.h"
#include "SoapRequest.h"
#include "StatementParser.h"

namespace tarvine::serve {
namespace {

constexpr std::int64_t kShortMin = -32768;
constexpr std::int64_t kShortMax = 32767;

double dollars(std::int64_t cents) {
  return static_cast<double>(cents) / 100.0;
}

bool loadExists(Database& db, std::int64_t load) {
  Statement& query = db.prepare("SELECT 1 FROM OutgoingLoad WHERE OutgoingLoadID = ?1");
  query.bind(1, load);
  return query.hasRow();
}

bool segmentExists(Database& db, const std::string& orderId, std::int64_t segment) {
  Statement& query = db.prepare(
      "SELECT 1 FROM VOZA_OrderHeader WHERE OrderID = ?1 AND VOZA_OrderSegment = ?2 LIMIT 1");
  query.bind(1, orderId).bind(2, segment);
  return query.hasRow();
}

std::string segmentName(const std::string& orderId, std::int64_t segment) {
  return "segment " + std::to_string(segment) + " of order " + quoteForMessage(orderId);
}

// The parsed statements of the array, numbered from 1 for messages; empty texts are left out.
struct NumberedStatement {
  std::size_t number;
  OrderStatement statement;
};

std::vector<NumberedStatement> parseAll(const std::vector<std::string>& texts) {
  std::vector<NumberedStatement> statements;
  statements.reserve(texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    try {
      if (auto parsed = parseOrderStatement(texts[i])) {
        statements.push_back({i + 1, std::move(*parsed)});
      }
    } catch (const StatementSyntaxError& error) {
      throw clientFault("string " + std::to_string(i + 1) + " is not an accepted statement (" +
                        error.what() + "): " + quoteForMessage(texts[i]));
    }
  }
  return statements;
}

// The person of the first history entry and the first load that segments are put on.
void noteWhoAndWhere(const std::vector<NumberedStatement>& statements, RequestRecord& record) {
  for (const auto& [number, statement] : statements) {
    if (const auto* entry = std::get_if<ProgressEntry>(&statement); entry && !record.person) {
      record.person = entry->personId;
      record.personType = entry->personTypeId;
    }
    if (const auto* assignment = std::get_if<SegmentAssignment>(&statement);
        assignment && assignment->loadId && record.load.empty()) {
      record.load = std::to_string(*assignment->loadId);
    }
    if (record.person && !record.load.empty()) return;
  }
}

void apply(Database& db, std::size_t number, const SegmentAssignment& assignment) {
  const std::string where = "string " + std::to_string(number) + ": ";
  if (assignment.loadId && !loadExists(db, *assignment.loadId)) {
    throw clientFault(where + "load " + std::to_string(*assignment.loadId) + " does not exist");
  }
  Statement& update = db.prepare(
      "UPDATE VOZA_OrderHeader SET OutgoingLoad = ?1, Freight = ?2"
      " WHERE CenterID = ?3 AND OrderID = ?4 AND VOZA_OrderSegment = ?5");
  if (assignment.loadId) {
    update.bind(1, *assignment.loadId);
  } else {
    update.bindNull(1);
  }
  update.bind(2, dollars(assignment.freightCents))
      .bind(3, assignment.centerId)
      .bind(4, assignment.orderId)
      .bind(5, assignment.segment)
      .run();
  if (db.changes() == 0) {
    throw clientFault(where + "there is no " + segmentName(assignment.orderId, assignment.segment) +
                      " at center " + std::to_string(assignment.centerId));
  }
}

void apply(Database& db, std::size_t number, const ProgressEntry& entry) {
  if (!segmentExists(db, entry.orderId, entry.segment)) {
    throw clientFault("string " + std::to_string(number) + ": there is no " +
                      segmentName(entry.orderId, entry.segment));
  }
  db.prepare(
        "INSERT INTO VOZA_OrderProgressHistory"
        " (ProgressCode, OrderID, VOZA_OrderSegment, PersonID, PersonTypeID)"
        " VALUES (?1, ?2, ?3, ?4, ?5)")
      .bind(1, entry.code)
      .bind(2, entry.orderId)
      .bind(3, entry.segment)
      .bind(4, entry.personId)
      .bind(5, entry.personTypeId)
      .run();
}

// The fields an astray segment takes over from the segment it follows.
struct AstraySource {
  std::int64_t centerId;
  std::string facilityId;
  std::string loadDate;
  double minimumCharge;
  double totalRate;
  double totalSuggestedFreight;
  std::int64_t highPriority;
};

AstraySource findAstraySource(Database& db, const std::string& orderId, std::int64_t segment) {
  Statement& query = db.prepare(
      "SELECT CenterID, FacilityID, LoadDate, MinimumCharge, TotalRate, TotalSuggestedFreight,"
      " HighPriorityIndicator FROM VOZA_OrderHeader WHERE OrderID = ?1 AND VOZA_OrderSegment = ?2"
      " ORDER BY CenterID LIMIT 1");
  query.bind(1, orderId).bind(2, segment);
  if (!query.step()) {
    Statement& anySegment = db.prepare("SELECT 1 FROM VOZA_OrderHeader WHERE OrderID = ?1 LIMIT 1");
    anySegment.bind(1, orderId);
    if (!anySegment.hasRow()) {
      throw clientFault("order " + quoteForMessage(orderId) + " has not been received");
    }
    throw clientFault("there is no " + segmentName(orderId, segment));
  }
  AstraySource source{query.integer(0),
                      std::string(query.text(1)),
                      std::string(query.text(2)),
                      query.real(3),
                      query.real(4),
                      query.real(5),
                      query.integer(6)};
  query.reset();
  return source;
}

}  // namespace

OperationResult updateOutgoingLoadOrder(const SoapRequest& request, Database& db,
                                        RequestRecord& record) {
  const std::vector<std::string> texts = request.strings("OutgoingLoadOrderArray");
  record.statements = static_cast<std::size_t>(
      std::count_if(texts.begin(), texts.end(), [](const std::string& t) { return !t.empty(); }));
  const std::vector<NumberedStatement> statements = parseAll(texts);
  noteWhoAndWhere(statements, record);
  Transaction transaction(db);
  for (const auto& [number, statement] : statements) {
    std::visit([&db, number = number](const auto& parsed) { apply(db, number, parsed); },
               statement);
  }
  transaction.commit();
  return {};
}

OperationResult addAstrayPO(const SoapRequest& request, Database& db, RequestRecord& /*record*/) {
  const std::string orderId = request.text("OrderID");
  const std::int64_t segment = request.integer("OrderSegment", kShortMin, kShortMax);
  const std::int64_t freightCents = request.cents("Freight");
  const std::int64_t cartons = request.integer("Cartons", kShortMin, kShortMax);
  const std::int64_t load = request.integer("OutgoingLoadID", kShortMin, kShortMax);
  const std::string comment = request.text("Comment");

  Transaction transaction(db);
  if (!loadExists(db, load)) {
    throw clientFault("load " + std::to_string(load) + " does not exist");
  }
  const AstraySource source = findAstraySource(db, orderId, segment);
  const std::int64_t newSegment = segment + 1;
  if (newSegment > kShortMax) throw clientFault("order segment numbers end at 32767");
  if (segmentExists(db, orderId, newSegment)) {
    throw clientFault(segmentName(orderId, newSegment) + " already exists");
  }
  db.prepare(
        "INSERT INTO VOZA_OrderHeader (CenterID, OrderID, VOZA_OrderSegment, FacilityID, LoadDate,"
        " NumberParcels, FactoryWeight, CubicFeet, FreightCost, OutgoingLoad, Freight,"
        " MinimumCharge, TotalRate, TotalSuggestedFreight, HighPriorityIndicator,"
        " OverrideFreightIndicator, Comment)"
        " VALUES (?1, ?2, ?3, ?4, ?5, ?6, 0, 0, 0, ?7, ?8, ?9, ?10, ?11, ?12, 1, ?13)")
      .bind(1, source.centerId)
      .bind(2, orderId)
      .bind(3, newSegment)
      .bind(4, source.facilityId)
      .bind(5, source.loadDate)
      .bind(6, cartons)
      .bind(7, load)
      .bind(8, dollars(freightCents))
      .bind(9, source.minimumCharge)
      .bind(10, source.totalRate)
      .bind(11, source.totalSuggestedFreight)
      .bind(12, source.highPriority)
      .bind(13, comment)
      .run();
  transaction.commit();
  return {};
}

}  // namespace tarvine::serve
