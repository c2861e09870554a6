#include "ClientShares.h"

namespace tarvine::serve {

SharedLimit::Grant SharedLimit::take(const std::string& client, std::size_t amount) {
  if (amount == 0) return Grant::Taken;
  const std::lock_guard lock(mutex_);
  if (amount > total_ - held_) return Grant::OverTotal;
  std::size_t& mine = byClient_[client];
  if (amount > perClient_ - mine) {
    if (mine == 0) byClient_.erase(client);
    return Grant::OverClientShare;
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
