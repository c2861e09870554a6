#include "FairWorkQueue.h"

#include <boost/asio/post.hpp>

namespace tarvine::serve {

void FairWorkQueue::post(const std::string& client, std::function<void()> job) {
  {
    const std::lock_guard lock(mutex_);
    Client& queue = clients_[client];
    if (queue.started == perClient_) {
      queue.waiting.push_back(std::move(job));
      return;
    }
    ++queue.started;
  }
  start(client, std::move(job));
}

void FairWorkQueue::start(const std::string& client, std::function<void()> job) {
  boost::asio::post(pool_, [this, client, job = std::move(job)] {
    job();
    finished(client);
  });
}

void FairWorkQueue::finished(const std::string& client) {
  std::function<void()> next;
  {
    const std::lock_guard lock(mutex_);
    const auto queue = clients_.find(client);
    if (queue->second.waiting.empty()) {
      if (--queue->second.started == 0) clients_.erase(queue);
      return;
    }
    next = std::move(queue->second.waiting.front());
    queue->second.waiting.pop_front();
  }
  start(client, std::move(next));
}

}  // namespace tarvine::serve
