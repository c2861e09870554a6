// What keeps one client from taking the workers or the reply memory as its replies are built.

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <vector>

#include "DataSetWriter.h"
#include "FairWorkQueue.h"
#include "ReplyAllowance.h"

namespace tarvine::serve::test {
namespace {

// Two threads, one job at a time per client: a client whose jobs wait leaves one to another.
TEST(Shares, OneClientsJobsLeaveAThreadToOthers) {
  boost::asio::thread_pool pool(2);
  FairWorkQueue queue(pool, 1);
  std::promise<void> release, otherRan;
  const std::shared_future<void> released = release.get_future().share();
  std::atomic<int> done{0};
  for (int i = 0; i < 3; ++i) queue.post("127.0.0.1", [&] { released.wait(), ++done; });
  queue.post("127.0.0.2", [&] { otherRan.set_value(); });
  EXPECT_EQ(otherRan.get_future().wait_for(std::chrono::seconds(30)), std::future_status::ready);
  release.set_value();
  pool.join();
  EXPECT_EQ(done, 3);
}

// A data set asks the thread's reply allowance for each MiB as it grows and for the rest when
// finished (a refusal, thrown, stops it), so the allowance sees all of it.
TEST(Shares, ADataSetAsksTheAllowanceForAllItsText) {
  std::vector<std::size_t> asked;
  const ReplyAllowance allowance([&](std::size_t bytes) { asked.push_back(bytes); });
  DataSetWriter writer;
  const std::string text(100, 'x');
  for (int i = 0; i < 10'000; ++i) writer.beginRow(), writer.column("A", text), writer.endRow();
  const std::size_t size = writer.finish().size();
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0] >> 20, 1u);
  EXPECT_EQ(asked[0] + asked[1], size);
}

}  // namespace
}  // namespace tarvine::serve::test
