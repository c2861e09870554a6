#include <gtest/gtest.h>

#include "DemoData.h"
#include "Schema.h"
#include "ServeFixture.h"

namespace tarvine::serve::test {
namespace {

class DemoData : public ::testing::Test {
 protected:
  void SetUp() override {
    openDemoDatabase(path_);
    db_ = std::make_unique<Database>(path_);
  }
  TempDir dir_;
  // Missing folders of the path are made.
  std::string path_ = (dir_.path() / "a" / "b" / "demo.db").string();
  std::unique_ptr<Database> db_;
};

TEST_F(DemoData, OpeningTwiceAddsNothing) {
  const std::int64_t segments = countOf(*db_, "SELECT COUNT(*) FROM VOZA_OrderHeader");
  openDemoDatabase(path_);
  EXPECT_EQ(countOf(*db_, "SELECT COUNT(*) FROM VOZA_OrderHeader"), segments);
  EXPECT_EQ(countOf(*db_, "SELECT COUNT(*) FROM OutgoingLoad"), 2);
}

TEST_F(DemoData, AFullyPickedLoadWeighsMoreThan16BitsOfPoundsButNoOrderDoes) {
  EXPECT_GT(countOf(*db_,
                    "SELECT SUM(FactoryWeight) FROM VOZA_OrderHeader h"
                    " JOIN RouteStop s ON s.CenterID = h.CenterID"
                    " WHERE OutgoingLoad = 5001 OR OutgoingLoad IS NULL"),
            32767);
  EXPECT_LE(countOf(*db_,
                    "SELECT MAX(w) FROM (SELECT SUM(FactoryWeight) AS w FROM"
                    " VOZA_OrderHeader GROUP BY CenterID, OrderID)"),
            32767);
}

TEST_F(DemoData, GeneratedLoadHasTheSegmentsAskedForInOrdersOfOneToFive) {
  generateLoad(*db_, 7001, 1000);
  EXPECT_EQ(countOf(*db_, "SELECT COUNT(*) FROM VOZA_OrderHeader WHERE OutgoingLoad = 7001"), 1000);
  EXPECT_EQ(countOf(*db_,
                    "SELECT COUNT(*) FROM (SELECT OrderID FROM VOZA_OrderHeader"
                    " WHERE OutgoingLoad = 7001 GROUP BY OrderID"
                    " HAVING COUNT(*) > 5 OR MAX(VOZA_OrderSegment) <> COUNT(*))"),
            0);
  generateLoad(*db_, 7002, 7);
  EXPECT_EQ(countOf(*db_, "SELECT COUNT(*) FROM VOZA_OrderHeader WHERE OutgoingLoad = 7002"), 7);
  EXPECT_EQ(countOf(*db_,
                    "SELECT COUNT(*) FROM (SELECT OrderID FROM VOZA_OrderHeader"
                    " GROUP BY OrderID HAVING COUNT(DISTINCT OutgoingLoad) > 1)"),
            0)
      << "generated order ids never reuse existing ones";
}

TEST_F(DemoData, GenerateRefusesBadArguments) {
  for (const auto& [load, segments] :
       {std::pair{5001, 10}, {7003, 0}, {7003, 32768}, {40000, 10}}) {
    EXPECT_THROW(generateLoad(*db_, load, segments), std::invalid_argument)
        << load << " " << segments;
  }
}

TEST_F(ServeFixture, ServesAFullSizeGeneratedLoad) {
  service_->generateLoad(30000, 32767);
  const std::vector<Row> rows = allOrders(30000);
  std::size_t onLoad = 0;
  for (const Row& row : rows) onLoad += row["OutgoingLoad"] == "30000" ? 1 : 0;
  EXPECT_EQ(onLoad, 32767u);
  EXPECT_EQ(rows.size(), 32767u + 26u) << "plus the free segments of the demo route";
}

}  // namespace
}  // namespace tarvine::serve::test
