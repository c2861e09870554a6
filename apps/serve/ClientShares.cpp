#include "ClientShares.h"

namespace tarvine::serve {

SharedLimit::Grant SharedLimit::take(const std::string& client, std::size_t amount) {
  if (amount == 0) return Grant::Taken;
  const std::lock_guard lock(mutex_);
  std::size_t& mine = byClient_[client];
  // The client's own share first: a client over it is told so, whatever the others hold.
  const Grant grant = amount > perClient_ - mine ? Grant::OverClientShare
                      : amount > total_ - held_  ? Grant::OverTotal
                                                 : Grant::Taken;
  if (grant != Grant::Taken) {
    if (mine == 0) byClient_.erase(client);
    return grant;
  }
  mine += amount;
  held_ += amount;
  return Grant::Taken;
}

void SharedLimit::giveBack(const std::string& client, std::size_t amount) {
  if (amount == 0) return;
  const std::lock_guard lock(mutex_);
  const auto found = byClient_.find(client);
  if (found == byClient_.end()) return;
  found->second -= amount;
  held_ -= amount;
  if (found->second == 0) byClient_.erase(found);
}

std::size_t SharedLimit::heldBy(const std::string& client) const {
  const std::lock_guard lock(mutex_);
  const auto found = byClient_.find(client);
  return found == byClient_.end() ? 0 : found->second;
}

}  // namespace tarvine::serve
