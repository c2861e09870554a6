// What the clients of the route service share (connections, bytes held in memory) and how much
// of it one client address may hold, so that no address can take it all.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <unordered_map>

namespace tarvine::serve {

// A limit on something all clients share, with the most one client address may hold of it.
// Any thread.
class SharedLimit {
 public:
  // Up to `total` in all and `perClient` for one address.
  SharedLimit(std::size_t total, std::size_t perClient) : total_(total), perClient_(perClient) {}

  enum class Grant { Taken, OverTotal, OverClientShare };
  // Takes amount for the client, or nothing when that would pass its share (told first) or the
  // total.
  Grant take(const std::string& client, std::size_t amount);
  // Gives back amount that take() gave the client.
  void giveBack(const std::string& client, std::size_t amount);
  // What the client holds.
  std::size_t heldBy(const std::string& client) const;

 private:
  const std::size_t total_;
  const std::size_t perClient_;
  mutable std::mutex mutex_;
  std::size_t held_ = 0;
  std::unordered_map<std::string, std::size_t> byClient_;  // only addresses holding some
};

}  // namespace tarvine::serve
