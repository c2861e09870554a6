// Connections turned away on arrival (too many open): logged at most once a second per client
// address, with how many were refused, so that a flood of attempts cannot flood the log.
#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/steady_timer.hpp>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

namespace tarvine::serve {

class ConnectionRefusals {
 public:
  // Writes one log line: the client and why its connections were refused.
  using Log = std::function<void(const std::string& client, const std::string& detail)>;

  // Counts on io's thread (the network thread) and logs through log.
  ConnectionRefusals(boost::asio::io_context& io, Log log) : io_(io), log_(std::move(log)) {}

  // Notes one refused connection: logged at once when the client had none refused in the last
  // second, else counted into the line written when that second ends.
  void refused(const std::string& client, const std::string& reason);
  // Forgets the counts not logged yet and stops their timers (the server stops).
  void clear() { windows_.clear(); }

 private:
  struct Window {
    std::size_t count = 0;  // refused since the last line
    std::string reason;
    std::unique_ptr<boost::asio::steady_timer> timer;
  };
  void startWindow(const std::string& client, Window& window);
  void windowEnded(const std::string& client);

  boost::asio::io_context& io_;
  Log log_;
  std::unordered_map<std::string, Window> windows_;  // clients with a refusal in the last second
};

}  // namespace tarvine::serve
