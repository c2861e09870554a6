#include "ConnectionRefusals.h"

namespace tarvine::serve {
namespace {

// The longest a client's refusals go unlogged, and the least time between two of its lines.
constexpr auto kLogEvery = std::chrono::seconds(1);

}  // namespace

void ConnectionRefusals::refused(const std::string& client, const std::string& reason) {
  const auto [window, first] = windows_.try_emplace(client);
  if (!first) {
    ++window->second.count;
    window->second.reason = reason;
    return;
  }
  log_(client, reason);
  startWindow(client, window->second);
}

void ConnectionRefusals::startWindow(const std::string& client, Window& window) {
  if (!window.timer) window.timer = std::make_unique<boost::asio::steady_timer>(io_);
  window.timer->expires_after(kLogEvery);
  window.timer->async_wait([this, client](boost::system::error_code error) {
    if (!error) windowEnded(client);
  });
}

void ConnectionRefusals::windowEnded(const std::string& client) {
  const auto window = windows_.find(client);
  if (window == windows_.end()) return;
  if (window->second.count == 0) {
    windows_.erase(window);
    return;
  }
  log_(client, window->second.reason + "; " + std::to_string(window->second.count) +
                   " more refused in the last second");
  window->second.count = 0;
  startWindow(client, window->second);
}

}  // namespace tarvine::serve
