#pragma once
// A route service on 127.0.0.1 for the list benchmarks: answers the load queries with the
// replies the reference service wrote for one load, and takes every update without keeping it,
// so that a save can be repeated on the same load.

#include <atomic>
#include <chrono>
#include <memory>
#include <string>

namespace tarvine::bench {

class DiscardingService {
 public:
  // Serves the load of this size (generated when missing) until destroyed.
  explicit DiscardingService(int segments);
  ~DiscardingService();
  DiscardingService(const DiscardingService&) = delete;
  DiscardingService& operator=(const DiscardingService&) = delete;

  // The server text to give PutServerName.
  std::string server() const;
  // When the latest update had arrived whole (its body read), and how many bytes it had.
  std::chrono::steady_clock::time_point lastUpdateArrival() const;
  std::size_t lastUpdateBytes() const { return lastUpdateBytes_; }

 private:
  struct Http;
  std::unique_ptr<Http> http_;
  std::atomic<std::chrono::steady_clock::rep> lastUpdateArrival_{0};
  std::atomic<std::size_t> lastUpdateBytes_{0};
};

}  // namespace tarvine::bench
