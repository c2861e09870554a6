#include <gtest/gtest.h>

#include "DemoData.h"
#include "ServeFixture.h"

namespace tarvine::serve::test {
namespace {

class DemoData : public ::testing::Test {
 protected:
  void SetUp() override {
    openDemoDatabase(path_);
    db_ = std::make_unique<Database>(path_);
  }
  // One integer result of a query (-1 when it gives no row).
  std::int64_t count(const std::string& sql) {
    Statement& query = db_->prepare(sql);
    const std::int64_t value = query.step() ? query.integer(0) : -1;
    query.reset();
    return value;
  }
  TempDir dir_;
  // Missing folders of the path are made.
  std::string path_ = (dir_.path() / "a" / "b" / "demo.db").string();
  std::unique_ptr<Database> db_;
};

TEST_F(DemoData, OpeningTwiceAddsNothing) {
  const std::vector<std::string> before = contents(*db_);
  openDemoDatabase(path_);
  EXPECT_EQ(contents(*db_), before);
  EXPECT_EQ(count("SELECT COUNT(*) FROM OutgoingLoad"), 2);
}

TEST_F(DemoData, GeneratedLoadHasTheSegmentsAskedForInOrdersOfOneToFive) {
  for (const auto& [load, segments] : {std::pair{7001, 1000}, {7002, 7}}) {
    generateLoad(*db_, load, segments);
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
    EXPECT_THROW(generateLoad(*db_, load, segments), std::invalid_argument)
        << load << " " << segments;
  }
}

TEST_F(ServeFixture, ServesAFullSizeGeneratedLoad) {
  service_->generateLoad(30000, 32767);
  const HttpReply reply = postTo(port_, clientEnvelope(allOrdersQuery(30000)),
                                 std::string(kNamespace) + "/GetOutgoingLoadAllOrders");
  ASSERT_EQ(reply.status, 200);
  const std::string rows = dataSetText(reply.body);
  std::size_t onLoad = 0;
  for (std::size_t at = 0; (at = rows.find(" OutgoingLoad=30000 ", at)) != std::string::npos;
       ++at) {
    ++onLoad;
  }
  EXPECT_EQ(onLoad, 32767u);
  EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 32767 + 26) << "and the route's free ones";
}

}  // namespace
}  // namespace tarvine::serve::test
