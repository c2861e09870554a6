// Several script hosts save different P.O.s of one load at the same time, for a bounded time,
// against one reference route service; afterwards the database holds every change each of them
// saved: the segments' load and one history entry per segment taken on or off.

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <thread>
#include <vector>

#include "Database.h"
#include "DemoRouteService.h"
#include "FaultFixture.h"
#include "RouteService.h"
#include "ScriptRun.h"
#include "script/ScriptHost.h"
#include "tools/FindOrder.h"

namespace tarvine::test {
namespace {

constexpr int kLoad = 600;
constexpr int kSegments = 400;
constexpr std::size_t kHosts = 4;
constexpr auto kRunTime = std::chrono::seconds(3);

// One script host's run as person 100 + index: it takes the P.O.s it owns (a generated load
// starts with every segment on it) one after the other on or off the load and saves after each,
// until the time is up.
struct HostRun {
  void run(const std::string& server, std::chrono::steady_clock::time_point end) {
    script::ScriptHost host([this](const std::string& line) { output.add(line); });
    const ListView& list = host.control().widgets().lvwOrderIDs;
    std::vector<std::string> lines = {"server " + server, "facility DEMO",
                                      "person " + std::to_string(person) + " 2",
                                      "load " + std::to_string(kLoad)};
    std::size_t next = 0;
    output.status = host.run([&]() -> std::optional<std::string> {
      if (next < lines.size()) return lines[next++];
      if (std::chrono::steady_clock::now() >= end) return std::nullopt;
      const auto& [order, segments] = owned[saves++ % owned.size()];
      onLoad[order] = !onLoad[order];
      historyEntries += segments;
      const std::optional<std::size_t> position = tools::findOrder(list, order);
      if (!position) return std::nullopt;
      lines.push_back("save");
      return "toggle " + std::to_string(*position);
    });
  }

  int person = 0;
  std::vector<std::pair<std::string, std::int64_t>> owned;  // P.O.s and their segment counts
  std::map<std::string, bool> onLoad;
  ScriptRun output;
  std::int64_t historyEntries = 0;
  std::size_t saves = 0;
};

TEST(ConcurrentSaves, TheDatabaseHoldsEveryHostsChanges) {
  TemporaryFolder folder;
  const std::string dbPath = (folder.path() / "load.db").string();
  serve::RouteService service(dbPath);
  service.generateLoad(kLoad, kSegments);
  service.setRequestLog(nullptr);
  service.start("127.0.0.1", 0);

  std::vector<HostRun> runs(kHosts);
  {
    serve::Database db(dbPath, serve::OpenMode::ReadOnly);
    serve::Statement& orders =
        db.prepare("SELECT OrderID, COUNT(*) FROM VOZA_OrderHeader WHERE " +
                   ("OutgoingLoad = " + std::to_string(kLoad)) + " GROUP BY OrderID");
    for (std::size_t i = 0; orders.step(); ++i) {
      HostRun& run = runs[i % kHosts];
      run.owned.emplace_back(orders.text(0), orders.integer(1));
      run.onLoad[run.owned.back().first] = true;
    }
  }
  const auto end = std::chrono::steady_clock::now() + kRunTime;
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    runs[i].person = 100 + static_cast<int>(i);
    threads.emplace_back([&, i] { runs[i].run(service.baseUrl(), end); });
  }
  for (std::thread& thread : threads) thread.join();

  for (const HostRun& run : runs) {
    SCOPED_TRACE("host of person " + std::to_string(run.person));
    EXPECT_EQ(run.output.status, 0);
    EXPECT_GT(run.saves, 1u);
    // Every save was told a success, and nothing else was shown or logged.
    EXPECT_EQ(run.output.lines.size(), run.saves);
    for (const auto& line : run.output.lines) {
      EXPECT_EQ(line.value("type", "") + ": " + line.value("prompt", ""),
                std::string("message: ") + kSaved);
    }
    for (const auto& [order, onLoad] : run.onLoad) {
      EXPECT_EQ(
          queryText(dbPath, "SELECT COUNT(*) FROM VOZA_OrderHeader WHERE OrderID = '" + order +
                                "' AND (OutgoingLoad IS NULL) = " + (onLoad ? "1" : "0")),
          "0")
          << order << " should be " << (onLoad ? "on" : "off");
    }
    EXPECT_EQ(queryText(dbPath, "SELECT COUNT(*) FROM VOZA_OrderProgressHistory WHERE PersonID = " +
                                    std::to_string(run.person)),
              std::to_string(run.historyEntries));
  }
}

}  // namespace
}  // namespace tarvine::test
