#include "FairWorkQueue.h"

#include <boost/asio/post.hpp>

namespace tarvine::serve {

void FairWorkQueue::post(const std::string& client, std::function<void()> job, bool costly) {
  const std::lock_guard lock(mutex_);
  Client& queue = clients_[client];
  if (queue.started == perClient_) {
    queue.waiting.push_back({std::move(job), costly});
    return;
  }
  ++queue.started;
  startLocked(client, {std::move(job), costly});
}

void FairWorkQueue::startLocked(const std::string& client, Job job) {
  if (job.costly) {
    if (costlyRunning_ == costlyAtOnce_) {
      costlyWaiting_.emplace_back(client, std::move(job));
      return;
    }
    ++costlyRunning_;
  }
  // A thread pool never runs a posted job inline, so posting under the lock is safe.
  boost::asio::post(pool_, [this, client, run = std::move(job.run), costly = job.costly] {
    run();
    finished(client, costly);
  });
}

void FairWorkQueue::finished(const std::string& client, bool costly) {
  const std::lock_guard lock(mutex_);
  if (costly) {
    --costlyRunning_;
    if (!costlyWaiting_.empty()) {
      auto [next, job] = std::move(costlyWaiting_.front());
      costlyWaiting_.pop_front();
      startLocked(next, std::move(job));
    }
  }
  const auto queue = clients_.find(client);
  if (queue->second.waiting.empty()) {
    if (--queue->second.started == 0) clients_.erase(queue);
    return;
  }
  Job next = std::move(queue->second.waiting.front());
  queue->second.waiting.pop_front();
  startLocked(client, std::move(next));
}

}  // namespace tarvine::serve
