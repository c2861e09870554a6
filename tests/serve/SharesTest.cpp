// What keeps one client from taking the workers or the reply memory as its replies are built.

#include <gtest/gtest.h>

#include <atomic>
#include <future>

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

// A data set stops growing after its first MiB when the allowance refuses a second one.
TEST(Shares, AReplyStopsWhereItsAllowanceEnds) {
  std::size_t taken = 0;
  const ReplyAllowance allowance([&](std::size_t bytes) {
    if (taken > 0) throw ReplyRefused("full");
    taken += bytes;
  });
  DataSetWriter writer;
  const std::string text(100, 'x');
  try {
    for (int i = 0; i < 100'000; ++i) writer.beginRow(), writer.column("A", text), writer.endRow();
    ADD_FAILURE() << "the allowance was never asked again";
  } catch (const ReplyRefused&) {
  }
  EXPECT_EQ(taken >> 20, 1u);
}

}  // namespace
}  // namespace tarvine::serve::test
