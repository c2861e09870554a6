#include "DemoData.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>

#include "Database.h"
#include "Schema.h"

namespace tarvine::serve {
namespace {

constexpr int kDemoRouteId = 1;

struct DemoCenter {
  int id;
  const char* name;
  double ratePerHundredweight;
};

// The route's stops in order, then one center that no route serves.
constexpr std::array<DemoCenter, 5> kCenters{{
    {12, "Columbus", 14.25},
    {15, "Dayton", 15.10},
    {21, "Cincinnati", 16.40},
    {27, "Louisville", 17.85},
    {33, "Indianapolis", 19.00},
}};
constexpr std::size_t kRouteStops = 4;

// One order as the generator sees it; every segment is derived from it.
struct OrderSpec {
  int centerId;
  std::string number;
  int segments;
  std::optional<int> load;
  bool hot;
  bool noRate;
  bool astrayLast;
  double baseWeight;
  int day;  // of November 2026
};

double roundCents(double value) {
  return std::round(value * 100.0) / 100.0;
}

double rateOf(int centerId) {
  for (const DemoCenter& center : kCenters) {
    if (center.id == centerId) return center.ratePerHundredweight;
  }
  return kCenters.back().ratePerHundredweight;
}

// Segment weights vary around the order's base weight.
double segmentWeight(const OrderSpec& order, int segment) {
  constexpr std::array<double, 5> kFactors{1.0, 1.15, 0.85, 1.3, 0.7};
  return roundCents(order.baseWeight * kFactors[static_cast<std::size_t>(segment - 1) % 5]);
}

bool isAstray(const OrderSpec& order, int segment) {
  return order.astrayLast && segment == order.segments && segment > 1;
}

// Astray cartons are a few, found after loading.
constexpr double kAstrayWeight = 112.5;
constexpr double kAstrayFreight = 35.0;

void insertOrder(Database& db, const OrderSpec& order) {
  const double rate = rateOf(order.centerId);
  constexpr double kMinimumCharge = 45.0;
  const auto weightOf = [&order](int segment) {
    return isAstray(order, segment) ? kAstrayWeight : segmentWeight(order, segment);
  };
  double orderWeight = 0;
  for (int segment = 1; segment <= order.segments; ++segment) orderWeight += weightOf(segment);
  const double suggested = std::max(kMinimumCharge, roundCents(orderWeight / 100.0 * rate));
  const std::string orderId = std::to_string(order.centerId) + "-" + order.number;
  const std::string date = "2026-11-" + std::to_string(100 + order.day).substr(1);

  Statement& insert = db.prepare(
      "INSERT INTO VOZA_OrderHeader (CenterID, OrderID, VOZA_OrderSegment, FacilityID, LoadDate,"
      " NumberParcels, FactoryWeight, CubicFeet, FreightCost, OutgoingLoad, Freight,"
      " MinimumCharge, TotalRate, TotalSuggestedFreight, HighPriorityIndicator,"
      " OverrideFreightIndicator, Comment)"
      " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17)");
  for (int segment = 1; segment <= order.segments; ++segment) {
    const bool astray = isAstray(order, segment);
    const double weight = weightOf(segment);
    const double freight = astray ? kAstrayFreight : roundCents(weight / 100.0 * rate);
    insert.reset();
    insert.bind(1, std::int64_t{order.centerId})
        .bind(2, orderId)
        .bind(3, std::int64_t{segment})
        .bind(4, std::string_view(kDemoFacility))
        .bind(5, date)
        .bind(6, static_cast<std::int64_t>(std::max(1.0, std::round(weight / 38.0))))
        .bind(7, weight)
        .bind(8, roundCents(weight / 9.2))
        .bind(9, roundCents(freight * 0.82))
        .bind(12, kMinimumCharge)
        .bind(13, rate)
        .bind(14, suggested)
        .bind(15, std::int64_t{order.hot ? 1 : 0})
        .bind(16, std::int64_t{astray ? 1 : 0});
    if (order.load) insert.bind(10, std::int64_t{*order.load});
    if (order.noRate && !astray) {
      insert.bindNull(11);
    } else {
      insert.bind(11, order.load || astray ? freight : 0.0);
    }
    if (astray) insert.bind(17, std::string_view("3 cartons found on the dock after loading"));
    insert.run();
  }
}

void ensureDemoRoute(Database& db) {
  for (const DemoCenter& center : kCenters) {
    db.prepare("INSERT OR IGNORE INTO Center (CenterID, CenterName) VALUES (?1, ?2)")
        .bind(1, std::int64_t{center.id})
        .bind(2, std::string_view(center.name))
        .run();
  }
  db.prepare("INSERT OR IGNORE INTO Route (RouteID, Route, Description) VALUES (?1, ?2, ?3)")
      .bind(1, std::int64_t{kDemoRouteId})
      .bind(2, std::string_view("OV-04"))
      .bind(3, std::string_view("Ohio Valley Tuesday run"))
      .run();
  for (std::size_t stop = 0; stop < kRouteStops; ++stop) {
    db.prepare("INSERT OR IGNORE INTO RouteStop (RouteID, StopOrder, CenterID) VALUES (?1, ?2, ?3)")
        .bind(1, std::int64_t{kDemoRouteId})
        .bind(2, static_cast<std::int64_t>(stop + 1))
        .bind(3, std::int64_t{kCenters[stop].id})
        .run();
  }
}

bool loadExists(Database& db, int loadId) {
  return db.prepare("SELECT 1 FROM OutgoingLoad WHERE OutgoingLoadID = ?1")
      .bind(1, std::int64_t{loadId})
      .hasRow();
}

void insertLoad(Database& db, int loadId) {
  db.prepare("INSERT INTO OutgoingLoad (OutgoingLoadID, RouteID, FacilityID) VALUES (?1, ?2, ?3)")
      .bind(1, std::int64_t{loadId})
      .bind(2, std::int64_t{kDemoRouteId})
      .bind(3, std::string_view(kDemoFacility))
      .run();
}

// The first order number above every number in use, so generated orders never collide.
std::int64_t nextOrderNumber(Database& db) {
  Statement& query = db.prepare(
      "SELECT MAX(CAST(substr(OrderID, instr(OrderID, '-') + 1) AS INTEGER))"
      " FROM VOZA_OrderHeader");
  std::int64_t highest = query.step() ? query.integer(0) : 0;
  query.reset();
  constexpr std::int64_t kFirstGenerated = 100001;
  return std::max(highest + 1, kFirstGenerated);
}

}  // namespace

void createDemoData(Database& db) {
  Transaction transaction(db);
  if (loadExists(db, kDemoLoad)) return;
  ensureDemoRoute(db);
  insertLoad(db, kDemoLoad);
  insertLoad(db, kDemoOtherLoad);
  const std::optional<int> none;
  const std::optional<int> demo = kDemoLoad;
  const std::optional<int> other = kDemoOtherLoad;
  // center, number, segments, load, hot, no rate, astray last, base weight, day
  const std::array<OrderSpec, 16> orders{{
      {12, "34567", 5, none, false, false, false, 820, 23},
      {12, "34581", 4, demo, true, false, false, 1150, 24},
      {12, "34602", 3, demo, false, false, false, 640, 24},
      {15, "20001", 4, demo, false, false, false, 930, 23},
      {15, "20017", 5, none, false, true, false, 710, 25},
      {15, "20033", 4, demo, false, false, true, 1020, 25},
      {21, "51877", 4, none, true, false, false, 880, 26},
      {21, "51890", 5, demo, false, true, false, 760, 26},
      {21, "51902", 3, none, false, false, false, 1340, 27},
      {27, "70415", 4, demo, true, false, true, 990, 27},
      {27, "70422", 5, none, false, false, false, 690, 28},
      {27, "70431", 4, none, true, true, false, 1210, 28},
      // On the other load: received at route centers, yet not in load 5001's list.
      {12, "34650", 3, other, false, false, false, 905, 22},
      {21, "51955", 2, other, false, false, false, 1280, 22},
      {27, "70460", 3, other, true, false, false, 745, 23},
      // Received at a center that the route does not serve.
      {33, "88012", 3, none, false, false, false, 870, 24},
  }};
  for (const OrderSpec& order : orders) insertOrder(db, order);
  transaction.commit();
}

void generateLoad(Database& db, int loadId, int segments) {
  if (loadId < -32768 || loadId > 32767) {
    throw std::invalid_argument("load id " + std::to_string(loadId) + " does not fit 16 bits");
  }
  if (segments < 1 || segments > 32767) {
    throw std::invalid_argument("a generated load needs 1 to 32767 segments, not " +
                                std::to_string(segments));
  }
  Transaction transaction(db);
  if (loadExists(db, loadId)) {
    throw std::invalid_argument("load " + std::to_string(loadId) + " exists already");
  }
  ensureDemoRoute(db);
  insertLoad(db, loadId);
  std::mt19937 random(static_cast<std::uint32_t>(loadId));
  std::uniform_int_distribution<int> segmentCount(1, 5);
  std::uniform_int_distribution<int> weight(60, 2400);
  std::uniform_int_distribution<int> day(1, 28);
  std::uniform_int_distribution<int> percent(0, 99);
  std::int64_t number = nextOrderNumber(db);
  for (int left = segments, order = 0; left > 0; ++order, ++number) {
    const int count = std::min(left, segmentCount(random));
    left -= count;
    OrderSpec planned{kCenters[static_cast<std::size_t>(order) % kRouteStops].id,
                      std::to_string(number),
                      count,
                      loadId,
                      percent(random) < 5,
                      percent(random) < 4,
                      percent(random) < 3,
                      static_cast<double>(weight(random)),
                      day(random)};
    insertOrder(db, planned);
  }
  transaction.commit();
}

void openDemoDatabase(const std::string& path) {
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  std::error_code ignored;  // a folder that cannot be made shows as a database that cannot open
  if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
  Database db(path);
  applySchema(db);
  createDemoData(db);
}

}  // namespace tarvine::serve
