// The worker threads' queue, fair between client addresses: one address's requests take at
// most a few of the threads at once, so that an address sending many costly requests (or
// requests whose replies it never reads) delays its own requests and not other clients'.
#pragma once

#include <boost/asio/thread_pool.hpp>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>

namespace tarvine::serve {

class FairWorkQueue {
 public:
  // Runs jobs on pool, at most perClient (at least 1) of one client's at a time.
  FairWorkQueue(boost::asio::thread_pool& pool, std::size_t perClient)
      : pool_(pool), perClient_(perClient > 0 ? perClient : 1) {}

  // Runs job on the pool as soon as fewer than perClient jobs of the client run or wait for a
  // thread; jobs of one client start in the order posted. Any thread; job must not throw.
  void post(const std::string& client, std::function<void()> job);

 private:
  struct Client {
    std::size_t started = 0;  // running or waiting at the pool
    std::deque<std::function<void()>> waiting;
  };
  void start(const std::string& client, std::function<void()> job);
  void finished(const std::string& client);

  boost::asio::thread_pool& pool_;
  const std::size_t perClient_;
  std::mutex mutex_;
  std::unordered_map<std::string, Client> clients_;  // only clients with jobs started
};

}  // namespace tarvine::serve
