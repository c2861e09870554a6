// What keeps one client from taking the workers or the reply memory as its replies are built.

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <numeric>
#include <vector>

#include "DataSetWriter.h"
#include "DemoData.h"
#include "FairWorkQueue.h"
#include "QueryOperations.h"
#include "ReplyAllowance.h"
#include "RequestLog.h"
#include "SoapRequest.h"
#include "TableContents.h"

namespace tarvine::serve::test {
namespace {

// Two threads: a client whose jobs wait for its one thread, or costly jobs of many clients
// waiting for the one costly turn, leave a thread to a small job of another client; all run.
TEST(Shares, WaitingJobsLeaveAThreadToOthers) {
  for (const bool costly : {false, true}) {
    boost::asio::thread_pool pool(2);
    FairWorkQueue queue(pool, costly ? 2 : 1, costly ? 1 : 2);
    std::promise<void> release, otherRan;
    const std::shared_future<void> released = release.get_future().share();
    std::atomic<int> done{0};
    for (int i = 0; i < 4; ++i) {
      const std::string client = costly ? "127.0.0." + std::to_string(10 + i) : "127.0.0.1";
      queue.post(
          client, [&] { released.wait(), ++done; }, costly);
    }
    queue.post("127.0.0.2", [&] { otherRan.set_value(); });
    EXPECT_EQ(otherRan.get_future().wait_for(std::chrono::seconds(30)), std::future_status::ready)
        << costly;
    release.set_value();
    pool.join();
    EXPECT_EQ(done, 4);
  }
}

// A data set asks the thread's reply allowance for each MiB as it grows past the room it
// reserved up front and for the rest when finished (a refusal, thrown, stops it), so the
// allowance sees all of it, and a text smaller than its reservation asks nothing more.
TEST(Shares, ADataSetAsksTheAllowanceForAllItsText) {
  for (const auto& [reserved, rows] :
       {std::pair<std::size_t, int>{0, 10'000}, {512 << 10, 10'000}, {5 << 20, 10}}) {
    std::vector<std::size_t> asked;
    const ReplyAllowance allowance([&](std::size_t bytes) { asked.push_back(bytes); });
    DataSetWriter writer;
    if (reserved > 0) writer.reserve(reserved);
    for (int i = 0; i < rows; ++i) {
      writer.beginRow(), writer.column("A", std::string(100, 'x')), writer.endRow();
    }
    const std::size_t size = writer.finish().size();
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(reserved > 0 ? asked[0] : asked[0] >> 20, reserved > 0 ? reserved : 1) << rows;
    EXPECT_EQ(std::accumulate(asked.begin(), asked.end(), std::size_t{0}),
              std::max(size, reserved));
  }
}

// The orders of a large load ask the allowance for room for all their rows before the sorted
// query runs, so a service that holds as much as it may refuses them at once.
TEST(Shares, TheOrdersOfALargeLoadAskForTheirRoomFirst) {
  TempDir dir;
  const std::string path = (dir.path() / "demo.db").string();
  openDemoDatabase(path);
  Database db(path);
  generateLoad(db, 7001, 2000);
  std::vector<std::size_t> asked;
  const ReplyAllowance allowance([&](std::size_t bytes) {
    asked.push_back(bytes);
    throw ReplyRefused("full");
  });
  const SoapRequest request = SoapRequest::parse(
      "<Envelope xmlns=\"http://schemas.xmlsoap.org/soap/envelope/\"><Body>"
      "<GetOutgoingLoadAllOrders xmlns=\"http://tarvine.example/VOZARouteLocations/Service1\">"
      "<OutgoingLoadID>7001</OutgoingLoadID>"
      "<FacilityID>DEMO</FacilityID></GetOutgoingLoadAllOrders></Body></Envelope>");
  RequestRecord record;
  EXPECT_THROW(getOutgoingLoadAllOrders(request, db, record), ReplyRefused);
  ASSERT_EQ(asked.size(), 1u);
  // The generated segments and the route's segments of no load, 700 bytes each at least.
  EXPECT_GE(asked[0], 2000u * 700);
  EXPECT_EQ(asked[0] % 700, 0u);
}

}  // namespace
}  // namespace tarvine::serve::test
