#include "HttpServer.h"

#include <boost/asio/steady_timer.hpp>
#include <boost/system/system_error.hpp>
#include <stdexcept>

#include "HttpCore.h"

namespace tarvine::serve {
namespace {

namespace asio = boost::asio;
using tcp = asio::ip::tcp;

// How long stop() lets the replies of finished requests go out before it cuts them off.
constexpr auto kStopGrace = std::chrono::seconds(3);
// How long the server waits before accepting again after accept() failed (e.g. no file
// descriptors left), so that a lasting failure does not spin.
constexpr auto kAcceptRetry = std::chrono::milliseconds(100);

std::string baseUrlOf(const ServerSettings& settings, int port) {
  const bool ipv6 = settings.host.find(':') != std::string::npos;
  return std::string(settings.tlsCertFile.empty() ? "http" : "https") + "://" +
         (ipv6 ? "[" + settings.host + "]" : settings.host) + ":" + std::to_string(port);
}

tcp::endpoint resolve(const std::string& host, int port) {
  asio::io_context io;
  tcp::resolver resolver(io);
  boost::system::error_code error;
  const auto results = resolver.resolve(
      host, std::to_string(port), tcp::resolver::passive | tcp::resolver::numeric_service, error);
  if (error || results.empty()) {
    throw std::runtime_error("cannot listen on " + host + ":" + std::to_string(port) +
                             " (unknown address)");
  }
  return results.begin()->endpoint();
}

void loadTls(asio::ssl::context& context, const ServerSettings& settings) {
  context.set_options(asio::ssl::context::default_workarounds | asio::ssl::context::no_sslv2 |
                      asio::ssl::context::no_sslv3 | asio::ssl::context::no_tlsv1 |
                      asio::ssl::context::no_tlsv1_1 | asio::ssl::context::single_dh_use);
  try {
    context.use_certificate_chain_file(settings.tlsCertFile);
  } catch (const boost::system::system_error& error) {
    throw std::runtime_error("cannot load the TLS certificate " + settings.tlsCertFile + ": " +
                             error.code().message());
  }
  try {
    context.use_private_key_file(settings.tlsKeyFile, asio::ssl::context::pem);
  } catch (const boost::system::system_error& error) {
    throw std::runtime_error("cannot load the TLS key " + settings.tlsKeyFile + ": " +
                             error.code().message());
  }
}

// The peer's address; an IPv4 address mapped into IPv6 is written as IPv4.
std::string peerAddress(const tcp::socket& socket) {
  boost::system::error_code error;
  const tcp::endpoint peer = socket.remote_endpoint(error);
  if (error) return "(unknown)";
  asio::ip::address address = peer.address();
  if (address.is_v6() && address.to_v6().is_v4_mapped()) {
    address = asio::ip::make_address_v4(asio::ip::v4_mapped, address.to_v6());
  }
  return address.to_string();
}

void acceptNext(HttpServer::Core& core) {
  core.acceptor.async_accept([&core](boost::system::error_code error, tcp::socket socket) {
    if (error == asio::error::operation_aborted || core.stopping) return;
    if (error) {
      auto timer = std::make_shared<asio::steady_timer>(core.io, kAcceptRetry);
      timer->async_wait([&core, timer](boost::system::error_code) {
        if (!core.stopping) acceptNext(core);
      });
      return;
    }
    std::string client = peerAddress(socket);
    const ServerLimits& limits = core.settings.limits;
    switch (core.connectionSlots.take(client, 1)) {
      case SharedLimit::Grant::Taken:
        serveConnection(core, std::move(socket), std::move(client));
        break;
      case SharedLimit::Grant::OverTotal:
        core.refusals.refused(client,
                              std::to_string(limits.maxConnections) + " connections open already");
        break;
      case SharedLimit::Grant::OverClientShare:
        core.refusals.refused(client, std::to_string(limits.maxConnectionsPerClient) +
                                          " connections open from this address already");
        break;
    }
    acceptNext(core);
  });
}

}  // namespace

HttpServer::Core::Core(ConnectionPool& pool, const std::string& dbPath, RequestLog log,
                       const ServerSettings& serverSettings)
    : settings(serverSettings),
      routes{pool, dbPath, std::string(), std::chrono::steady_clock::now()},
      loopbackOnly(isLoopbackHost(serverSettings.host)),
      requestLog(std::move(log)),
      connectionSlots(serverSettings.limits.maxConnections,
                      serverSettings.limits.maxConnectionsPerClient),
      bodyBytes(serverSettings.limits.maxBufferedBodyBytes,
                serverSettings.limits.maxBufferedBodyBytesPerClient),
      replyBytes(serverSettings.limits.maxHeldReplyBytes,
                 serverSettings.limits.maxHeldReplyBytesPerClient),
      workers(serverSettings.limits.workers) {}

void HttpServer::Core::log(const RequestRecord& record) {
  const std::lock_guard lock(logMutex);
  if (requestLog) requestLog(record);
}

void HttpServer::Core::logRefusedConnection(const std::string& client, const std::string& detail) {
  RequestRecord record;
  record.time = std::chrono::system_clock::now();
  record.client = client;
  record.operation = "(refused)";
  record.outcome = Outcome::Refused;
  record.status = 0;
  record.detail = detail;
  log(record);
}

HttpServer::HttpServer(ConnectionPool& pool, std::string dbPath, RequestLog log)
    : pool_(pool), dbPath_(std::move(dbPath)), log_(std::move(log)) {}

HttpServer::~HttpServer() {
  stop();
}

int HttpServer::start(const ServerSettings& settings) {
  if (core_) throw std::runtime_error("the route service is already running");
  const tcp::endpoint endpoint = resolve(settings.host, settings.port);
  // The base URL needs the port, known once bound.
  auto core = std::make_unique<Core>(pool_, dbPath_, log_, settings);
  if (!settings.tlsCertFile.empty()) {
    core->tls.emplace(asio::ssl::context::tls_server);
    loadTls(*core->tls, settings);
  }
  boost::system::error_code error;
  core->acceptor.open(endpoint.protocol(), error);
  // SO_REUSEADDR only: a port in use makes bind fail instead of being shared.
  if (!error) core->acceptor.set_option(tcp::acceptor::reuse_address(true), error);
  if (!error) core->acceptor.bind(endpoint, error);
  if (!error) core->acceptor.listen(asio::socket_base::max_listen_connections, error);
  if (error) {
    throw std::runtime_error("cannot listen on " + settings.host + ":" +
                             std::to_string(settings.port) +
                             " (address not available or port in use)");
  }
  const int port = core->acceptor.local_endpoint().port();
  core->routes.baseUrl = baseUrlOf(settings, port);
  acceptNext(*core);
  Core* running = core.get();
  core->network = std::thread([running] {
    running->io.run();
    running->networkDone.set_value();
  });
  core_ = std::move(core);
  return port;
}

std::string HttpServer::baseUrl() const {
  return core_ ? core_->routes.baseUrl : std::string();
}

void HttpServer::stop() {
  if (!core_) return;
  Core& core = *core_;
  asio::post(core.io, [&core] {
    core.stopping = true;
    boost::system::error_code ignored;
    core.acceptor.close(ignored);
    core.refusals.clear();
    const std::lock_guard lock(core.mutex);
    for (Connection* connection : core.connections) connection->closeIfIdle();
  });
  // Requests being answered finish; their replies go out unless that takes too long.
  core.workers.join();
  if (core.networkDone.get_future().wait_for(kStopGrace) != std::future_status::ready) {
    core.io.stop();
  }
  core.network.join();
  core_.reset();
}

}  // namespace tarvine::serve
