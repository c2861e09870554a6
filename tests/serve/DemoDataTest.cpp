#include <gtest/gtest.h>

#include "DemoData.h"
#include "ServeFixture.h"

namespace tarvine::serve::test {
namespace {

// Opening the demo data twice adds nothing (missing folders of its path are made); a generated
// load has the segments asked for, in orders of one to five whose ids are new.
TEST(DemoData, OpensOnceAndGeneratesLoadsAsAsked) {
  TempDir dir;
  const std::string path = (dir.path() / "a" / "b" / "demo.db").string();
  openDemoDatabase(path);
  Database db(path);
  const std::vector<std::string> before = contents(db);
  openDemoDatabase(path);
  EXPECT_EQ(contents(db), before);
  const auto count = [&db](const std::string& sql) {
    Statement& query = db.prepare(sql);
    const std::int64_t value = query.step() ? query.integer(0) : -1;
    query.reset();
    return value;
  };
  EXPECT_EQ(count("SELECT COUNT(*) FROM OutgoingLoad"), 2);
  for (const auto& [load, segments] : {std::pair{7001, 1000}, {7002, 7}}) {
    generateLoad(db, load, segments);
    EXPECT_EQ(
        count("SELECT COUNT(*) FROM VOZA_OrderHeader WHERE OutgoingLoad = " + std::to_string(load)),
        segments);
  }
  EXPECT_EQ(count("SELECT COUNT(*) FROM (SELECT OrderID FROM VOZA_OrderHeader"
                  " WHERE OutgoingLoad = 7001 GROUP BY OrderID"
                  " HAVING COUNT(*) > 5 OR MAX(VOZA_OrderSegment) <> COUNT(*))"),
            0);
  EXPECT_EQ(count("SELECT COUNT(*) FROM (SELECT OrderID FROM VOZA_OrderHeader"
                  " GROUP BY OrderID HAVING COUNT(DISTINCT OutgoingLoad) > 1)"),
            0)
      << "generated order ids never reuse existing ones";
  for (const auto& [load, segments] :
       {std::pair{5001, 10}, {7003, 0}, {7003, 32768}, {40000, 10}}) {
    EXPECT_THROW(generateLoad(db, load, segments), std::invalid_argument)
        << load << " " << segments;
  }
}

}  // namespace
}  // namespace tarvine::serve::test
