// The worker threads' queue, fair between client addresses: one address's requests take at
// most a few of the threads at once, so that an address sending many costly requests (or
// requests whose replies it never reads) delays its own requests and not other clients'. Costly
// requests of all addresses together leave threads to the others, so that many addresses asking
// for large replies at once never hold up a small query.
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
  // Runs jobs on pool, at most perClient (at least 1) of one client's at a time and at most
  // costlyAtOnce (at least 1) costly jobs of all clients at a time.
  FairWorkQueue(boost::asio::thread_pool& pool, std::size_t perClient, std::size_t costlyAtOnce)
      : pool_(pool),
        perClient_(perClient > 0 ? perClient : 1),
        costlyAtOnce_(costlyAtOnce > 0 ? costlyAtOnce : 1) {}

  // Runs job on the pool as soon as fewer than perClient jobs of the client run or wait for a
  // thread and, for a costly job, fewer than costlyAtOnce costly jobs run; jobs of one client
  // start in the order posted, costly jobs in the order they became due. Any thread; job must
  // not throw.
  void post(const std::string& client, std::function<void()> job, bool costly = false);

 private:
  struct Job {
    std::function<void()> run;
    bool costly = false;
  };
  struct Client {
    std::size_t started = 0;  // running, waiting for a costly turn or waiting at the pool
    std::deque<Job> waiting;
  };
  // With the mutex held: starts the client's job now, or queues it for a costly turn.
  void startLocked(const std::string& client, Job job);
  void finished(const std::string& client, bool costly);

  boost::asio::thread_pool& pool_;
  const std::size_t perClient_;
  const std::size_t costlyAtOnce_;
  std::mutex mutex_;
  std::unordered_map<std::string, Client> clients_;  // only clients with jobs started
  std::size_t costlyRunning_ = 0;
  std::deque<std::pair<std::string, Job>> costlyWaiting_;
};

}  // namespace tarvine::serve
