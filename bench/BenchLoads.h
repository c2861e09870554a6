#pragma once
// Generated loads of the reference route service for the benchmarks: one temporary database
// holding a load of each benchmark size asked for (the load id is the segment count), served on
// 127.0.0.1 for the whole run.

#include <array>
#include <memory>
#include <string>
#include <string_view>

namespace tarvine::serve {
class ConnectionPool;
class RouteService;
}  // namespace tarvine::serve

namespace tarvine::bench {

// The segment counts every benchmark is run for.
inline constexpr std::array<int, 3> kSizes{1000, 8000, 32767};
// The facility of the generated loads.
inline constexpr std::string_view kFacility = "DEMO";

class BenchLoads {
 public:
  // The service of this run, started on first use. Throws when the database or the server
  // cannot be set up.
  static BenchLoads& instance();
  ~BenchLoads();
  BenchLoads(const BenchLoads&) = delete;
  BenchLoads& operator=(const BenchLoads&) = delete;

  // Generates the load of this size unless it exists; the load id is the segment count.
  void ensureLoad(int segments);
  // The server text to give PutServerName ("http://127.0.0.1:PORT").
  std::string server() const;
  // The full HTTP body the service writes for the operation's request envelope on the load of
  // this size (generated when missing), computed without the network. Cached.
  const std::string& reply(std::string_view operation, int segments);

 private:
  BenchLoads();
  std::string dir_;
  std::unique_ptr<serve::RouteService> service_;
  std::unique_ptr<serve::ConnectionPool> pool_;
  struct Cache;
  std::unique_ptr<Cache> cache_;
};

// The request envelope the control sends for a query operation on a load.
std::string queryEnvelope(std::string_view operation, int loadId);

// The SOAPAction the control sends for an operation.
std::string soapActionOf(std::string_view operation);

}  // namespace tarvine::bench
