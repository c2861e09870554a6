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

// One script host's run: it owns every kHosts-th P.O. of the list, toggles one after the other
// and saves after each toggle, until the time is up.
struct HostRun {
  void run(const std::string& server, std::chrono::steady_clock::time_point end) {
    script::ScriptHost host([this](const std::string& line) { output.add(line); });
    const ListView& list = host.control().widgets().lvwOrderIDs;
    std::vector<std::string> lines = {"server " + server, "facility DEMO",
                                      "person " + std::to_string(person) + " 2",
                                      "load " + std::to_string(kLoad)};
    std::size_t next = 0, turn = 0;
    output.status = host.run([&]() -> std::optional<std::string> {
      if (next < lines.size()) return lines[next++];
      if (owned.empty()) findOwnOrders(list);
      if (owned.empty() || std::chrono::steady_clock::now() >= end) return std::nullopt;
      const std::string& order = owned[turn++ % owned.size()];
      onLoad[order] = !onLoad[order];
      historyEntries += segments[order];
      ++saves;
      for (std::size_t position = 1; position <= list.rowCount(); ++position) {
        if (list.row(list.rowAt(position)).text == order) {
          lines.push_back("save");
          return "toggle " + std::to_string(position);
        }
      }
      return std::nullopt;
    });
  }
  // The P.O.s of the list in list order; this host owns every kHosts-th one, starting at its
  // index. A generated load starts with every segment on it.
  void findOwnOrders(const ListView& list) {
    std::vector<std::string> orders;
    for (RowId row : list.order()) {
      const std::string& order = list.row(row).text;
      if (segments[order]++ == 0) orders.push_back(order);
    }
    for (std::size_t i = static_cast<std::size_t>(person - 100); i < orders.size(); i += kHosts) {
      owned.push_back(orders[i]);
      onLoad[orders[i]] = true;
    }
  }

  int person = 0;
  ScriptRun output;
  std::vector<std::string> owned;
  std::map<std::string, int> segments;
  std::map<std::string, bool> onLoad;
  std::int64_t historyEntries = 0;
  int saves = 0;
};

TEST(ConcurrentSaves, TheDatabaseHoldsEveryHostsChanges) {
  TemporaryFolder folder;
  const std::string dbPath = (folder.path() / "load.db").string();
  serve::RouteService service(dbPath);
  service.generateLoad(kLoad, kSegments);
  service.setRequestLog(nullptr);
  service.start("127.0.0.1", 0);

  std::vector<HostRun> runs(kHosts);
  for (int i = 0; i < kHosts; ++i) runs[i].person = 100 + i;
  const auto end = std::chrono::steady_clock::now() + kRunTime;
  std::vector<std::thread> threads;
  for (HostRun& run : runs) threads.emplace_back([&] { run.run(service.baseUrl(), end); });
  for (std::thread& thread : threads) thread.join();
  service.stop();

  serve::Database db(dbPath, serve::OpenMode::ReadOnly);
  const auto count = [&](const std::string& sql) {
    serve::Statement& query = db.prepare(sql);
    const std::int64_t value = query.step() ? query.integer(0) : -1;
    query.reset();
    return value;
  };
  for (const HostRun& run : runs) {
    SCOPED_TRACE("host of person " + std::to_string(run.person));
    EXPECT_EQ(run.output.status, 0);
    EXPECT_GT(run.saves, 1);
    // Every save was told a success, and nothing else was shown or logged.
    EXPECT_EQ(run.output.lines.size(), static_cast<std::size_t>(run.saves));
    for (const auto& line : run.output.lines) {
      EXPECT_EQ(line.value("type", "") + ": " + line.value("prompt", ""),
                std::string("message: ") + kSaved);
    }
    for (const auto& [order, onLoad] : run.onLoad) {
      EXPECT_EQ(count("SELECT COUNT(*) FROM VOZA_OrderHeader WHERE OrderID = '" + order +
                      "' AND (OutgoingLoad IS NULL) = " + (onLoad ? "1" : "0")),
                0)
          << order << " should be " << (onLoad ? "on" : "off");
    }
    EXPECT_EQ(count("SELECT COUNT(*) FROM VOZA_OrderProgressHistory WHERE PersonID = " +
                    std::to_string(run.person)),
              run.historyEntries);
  }
}

}  // namespace
}  // namespace tarvine::test
