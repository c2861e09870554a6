// Several script hosts save different P.O.s of one load at the same time, for a bounded time,
// against one reference route service; afterwards the database holds every change each of them
// saved: the segments' load and one history entry per segment taken on or off.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <thread>
#include <vector>

#include "Database.h"
#include "FaultFixture.h"
#include "RouteService.h"
#include "ScriptRun.h"
#include "script/ScriptHost.h"

namespace tarvine::test {
namespace {

constexpr int kLoad = 600;
constexpr int kSegments = 400;
constexpr int kHosts = 4;
constexpr auto kRunTime = std::chrono::seconds(3);
constexpr const char* kSaved = "Outgoing load information has been updated successfully!!!";

// One script host's run: it owns every kHosts-th P.O. of the list, toggles one after the other
// and saves after each toggle, until the time is up.
class HostRun {
 public:
  HostRun(int index, std::string server) : index_(index), server_(std::move(server)) {}

  void run(std::chrono::steady_clock::time_point end) {
    script::ScriptHost host([this](const std::string& line) { output_.add(line); });
    std::vector<std::string> start = {"server " + server_, "facility DEMO",
                                      "person " + std::to_string(personID()) + " 2",
                                      "load " + std::to_string(kLoad)};
    std::size_t next = 0;
    bool toggled = false;
    std::size_t turn = 0;
    output_.status = host.run([&]() -> std::optional<std::string> {
      if (next < start.size()) return start[next++];
      if (toggled) {
        toggled = false;
        ++saves_;
        return std::string("save");
      }
      if (owned_.empty()) findOwnOrders(host.control().widgets().lvwOrderIDs);
      if (owned_.empty() || std::chrono::steady_clock::now() >= end) return std::nullopt;
      const std::string& order = owned_[turn++ % owned_.size()];
      onLoad_[order] = !onLoad_[order];
      historyEntries_ += segments_[order];
      toggled = true;
      return "toggle " + std::to_string(firstPosition(host.control().widgets().lvwOrderIDs, order));
    });
  }

  int personID() const { return 100 + index_; }
  const ScriptRun& output() const { return output_; }
  int saves() const { return saves_; }
  std::int64_t historyEntries() const { return historyEntries_; }
  const std::map<std::string, bool>& expectedOnLoad() const { return onLoad_; }

 private:
  // The P.O.s of the list in list order; this host owns every kHosts-th one, starting at its
  // index. A generated load starts with every segment on it.
  void findOwnOrders(const ListView& list) {
    std::vector<std::string> orders;
    for (RowId row : list.order()) {
      const std::string& order = list.row(row).text;
      if (segments_.find(order) == segments_.end()) orders.push_back(order);
      ++segments_[order];
    }
    for (std::size_t i = static_cast<std::size_t>(index_); i < orders.size(); i += kHosts) {
      owned_.push_back(orders[i]);
      onLoad_[orders[i]] = true;
    }
  }
  static std::size_t firstPosition(const ListView& list, const std::string& order) {
    for (std::size_t position = 1; position <= list.rowCount(); ++position) {
      if (list.row(list.rowAt(position)).text == order) return position;
    }
    return 0;
  }

  int index_;
  std::string server_;
  ScriptRun output_;
  std::vector<std::string> owned_;
  std::map<std::string, int> segments_;
  std::map<std::string, bool> onLoad_;
  std::int64_t historyEntries_ = 0;
  int saves_ = 0;
};

TEST(ConcurrentSaves, TheDatabaseHoldsEveryHostsChanges) {
  TemporaryFolder folder;
  const std::string dbPath = (folder.path() / "load.db").string();
  serve::RouteService service(dbPath);
  service.generateLoad(kLoad, kSegments);
  service.setRequestLog(nullptr);
  service.start("127.0.0.1", 0);

  std::vector<HostRun> runs;
  for (int i = 0; i < kHosts; ++i) runs.emplace_back(i, service.baseUrl());
  const auto end = std::chrono::steady_clock::now() + kRunTime;
  std::vector<std::thread> threads;
  for (HostRun& run : runs) threads.emplace_back([&run, end] { run.run(end); });
  for (std::thread& thread : threads) thread.join();
  service.stop();

  serve::Database db(dbPath, serve::OpenMode::ReadOnly);
  for (const HostRun& run : runs) {
    SCOPED_TRACE("host of person " + std::to_string(run.personID()));
    EXPECT_EQ(run.output().status, 0);
    EXPECT_GT(run.saves(), 1);
    // Every save was told a success, and nothing else was shown or logged.
    const auto messages = run.output().ofType("message");
    EXPECT_EQ(run.output().lines.size(), messages.size());
    EXPECT_EQ(messages.size(), static_cast<std::size_t>(run.saves()));
    for (const auto& message : messages) EXPECT_EQ(message["prompt"], kSaved);
    for (const auto& [order, onLoad] : run.expectedOnLoad()) {
      serve::Statement& misplaced = db.prepare(
          "SELECT COUNT(*) FROM VOZA_OrderHeader WHERE OrderID = ?1 AND"
          " (OutgoingLoad IS NULL) = ?2");
      misplaced.bind(1, order).bind(2, std::int64_t{onLoad ? 1 : 0});
      ASSERT_TRUE(misplaced.step());
      EXPECT_EQ(misplaced.integer(0), 0) << order << " should be " << (onLoad ? "on" : "off");
      misplaced.reset();
    }
    serve::Statement& history =
        db.prepare("SELECT COUNT(*) FROM VOZA_OrderProgressHistory WHERE PersonID = ?1");
    history.bind(1, std::int64_t{run.personID()});
    ASSERT_TRUE(history.step());
    EXPECT_EQ(history.integer(0), run.historyEntries());
    history.reset();
  }
}

}  // namespace
}  // namespace tarvine::test
