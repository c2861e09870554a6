#pragma once
// A cpp-httplib server on 127.0.0.1 running on its own thread for the lifetime of the object.

#include <httplib.h>

#include <chrono>
#include <string>
#include <thread>

namespace tarvine::test {

class LocalHttpServer {
 public:
  // Routes are added to server() before start().
  httplib::Server& server() { return server_; }
  // Binds an ephemeral port, starts serving and waits until the server runs (stop() only takes
  // effect on a running server). Returns the port.
  int start() {
    server_.set_read_timeout(5, 0);
    server_.set_write_timeout(5, 0);
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return port_;
  }
  ~LocalHttpServer() {
    if (!thread_.joinable()) return;
    server_.stop();
    thread_.join();
  }
  int port() const { return port_; }
  // "127.0.0.1:PORT"
  std::string authority() const { return "127.0.0.1:" + std::to_string(port_); }

 private:
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
};

}  // namespace tarvine::test
