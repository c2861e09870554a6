// One connection of the HTTP server: reads each request against its deadlines and limits on
// the network thread, has a worker answer it, writes the answer, and closes when done.
#include <boost/asio/post.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/ssl.hpp>
#include <memory>

#include "HttpCore.h"
#include "SoapDispatcher.h"

namespace tarvine::serve {
namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;
using Clock = std::chrono::steady_clock;

// How long a connection that is being closed may go on sending before it is cut off.
constexpr auto kLingerTime = std::chrono::seconds(2);
// Bodies up to this size are not counted against the bytes the server holds: at most
// ServerLimits::maxConnections of them fit in a few tens of MiB.
constexpr std::size_t kUncountedBodyBytes = std::size_t{64} << 10;
// Replies at least this large are followed by returning freed memory to the system.
constexpr std::size_t kLargeReplyBytes = std::size_t{1} << 20;

std::string seconds(std::chrono::milliseconds duration) {
  const auto count = duration.count();
  return count % 1000 == 0 ? std::to_string(count / 1000) + " s" : std::to_string(count) + " ms";
}

std::string_view view(beast::string_view text) {
  return {text.data(), text.size()};
}

// The peer's address; an IPv4 address mapped into IPv6 is written as IPv4.
std::string peerAddress(const tcp::socket& socket) {
  beast::error_code error;
  const tcp::endpoint peer = socket.remote_endpoint(error);
  if (error) return "(unknown)";
  asio::ip::address address = peer.address();
  if (address.is_v6() && address.to_v6().is_v4_mapped()) {
    address = asio::ip::make_address_v4(asio::ip::v4_mapped, address.to_v6());
  }
  return address.to_string();
}

template <class Stream>
class Session : public Connection, public std::enable_shared_from_this<Session<Stream>> {
 public:
  Session(HttpServer::Core& core, tcp::socket socket, std::string client)
      : core_(core), stream_(makeStream(core, std::move(socket))), client_(std::move(client)) {
    const std::lock_guard lock(core_.mutex);
    core_.connections.insert(this);
  }

  ~Session() override {
    releaseBody();
    const std::lock_guard lock(core_.mutex);
    core_.connections.erase(this);
  }

  void start() {
    began();
    tcpLayer().expires_after(core_.settings.limits.headerDeadline);
    if (!core_.settings.allowFrom.allows(client_)) {
      logRefusal("address outside --allow-from");
      // A TLS client could not read a plain answer: it is only closed.
      if constexpr (kTls) {
        close();
      } else {
        writeAnswer(refusal("address outside --allow-from"), false);
      }
      return;
    }
    if constexpr (kTls) {
      stream_.async_handshake(asio::ssl::stream_base::server,
                              [self = this->shared_from_this()](beast::error_code error) {
                                if (error) return self->handshakeFailed(error);
                                self->readHead();
                              });
    } else {
      readHead();
    }
  }

  void closeIfIdle() override {
    if (!answering_) close();
  }

 private:
  static constexpr bool kTls = !std::is_same_v<Stream, beast::tcp_stream>;

  static Stream makeStream(HttpServer::Core& core, tcp::socket socket) {
    if constexpr (kTls) {
      return Stream(std::move(socket), *core.tls);
    } else {
      return Stream(std::move(socket));
    }
  }

  beast::tcp_stream& tcpLayer() { return beast::get_lowest_layer(stream_); }

  void began() {
    wallStart_ = std::chrono::system_clock::now();
    start_ = Clock::now();
  }

  void readHead() {
    parser_.emplace();
    parser_->header_limit(static_cast<std::uint32_t>(kMaxHeaderBytes));
    parser_->body_limit(kMaxRequestBytes);
    http::async_read_header(stream_, buffer_, *parser_,
                            [self = this->shared_from_this()](
                                beast::error_code error, std::size_t) { self->headRead(error); });
  }

  void headRead(beast::error_code error) {
    if (error == http::error::body_limit) {
      version_ = parser_->get().version();
      SoapExchange oversized = oversizedRequestExchange();
      return writeExchange(oversized);
    }
    if (error) {
      if (error == http::error::header_limit) {
        return writeAnswer(plainAnswer(431, "request head too large"), false);
      }
      if (error == beast::error::timeout && parser_->got_some()) {
        logRefusal("no whole request head within " + seconds(core_.settings.limits.headerDeadline));
      } else if (error != http::error::end_of_stream && error != beast::error::timeout &&
                 error != asio::error::operation_aborted && parser_->got_some()) {
        return writeAnswer(plainAnswer(400, "malformed request: " + error.message()), false);
      }
      return close();
    }
    began();
    const auto& head = parser_->get();
    version_ = head.version();
    if (core_.loopbackOnly) {
      const auto host = head.find(http::field::host);
      if (host != head.end() && !isLoopbackHost(view(host->value()))) {
        std::string reason = "Host header \"" + std::string(view(host->value()).substr(0, 100)) +
                             "\" names no loopback";
        logRefusal(reason);
        return writeAnswer(refusal(std::move(reason)), false);
      }
    }
    tcpLayer().expires_after(core_.settings.limits.bodyDeadline);
    if (beast::iequals(head[http::field::expect], "100-continue")) {
      continue_.emplace(http::status::continue_, head.version());
      return http::async_write(
          stream_, *continue_,
          [self = this->shared_from_this()](beast::error_code failure, std::size_t) {
            if (failure) return self->close();
            self->readBody();
          });
    }
    readBody();
  }

  void readBody() {
    if (parser_->is_done()) return dispatch();
    http::async_read_some(stream_, buffer_, *parser_,
                          [self = this->shared_from_this()](beast::error_code error, std::size_t) {
                            self->bodyRead(error);
                          });
  }

  void bodyRead(beast::error_code error) {
    if (error == http::error::body_limit) {
      SoapExchange oversized = oversizedRequestExchange();
      return writeExchange(oversized);
    }
    if (error) {
      if (error == beast::error::timeout) {
        logRefusal("request body not complete within " +
                   seconds(core_.settings.limits.bodyDeadline));
      }
      return close();
    }
    // Bodies in memory count against the server's limit as they grow, however they are framed;
    // small ones (every query) do not, so that large ones can never crowd them out.
    const std::size_t size = parser_->get().body().size();
    const std::size_t counted = size > kUncountedBodyBytes ? size : 0;
    if (!core_.holdBodyBytes(static_cast<std::ptrdiff_t>(counted - heldBytes_))) {
      SoapExchange busy = busyExchange();
      return writeExchange(busy);
    }
    heldBytes_ = counted;
    readBody();
  }

  // Hands the request to a worker; the answer comes back to the network thread to be written.
  void dispatch() {
    answering_ = true;
    auto& request = parser_->get();
    keepAlive_ = request.keep_alive();
    IncomingRequest incoming{std::string(request.method_string()), std::string(request.target()),
                             std::nullopt, std::nullopt, std::move(request.body())};
    if (const auto action = request.find("SOAPAction"); action != request.end()) {
      incoming.soapAction = std::string(action->value());
    }
    if (const auto host = request.find(http::field::host); host != request.end()) {
      incoming.host = std::string(host->value());
    }
    version_ = request.version();
    parser_.reset();
    asio::post(core_.workers,
               [self = this->shared_from_this(), incoming = std::move(incoming)]() mutable {
                 const std::size_t bodyBytes = incoming.body.size();
                 HttpAnswer answer = answerRequest(std::move(incoming), self->core_.routes);
                 self->complete(answer.record);
                 self->core_.log(answer.record);
                 releaseMemoryAfter(bodyBytes);
                 asio::post(self->core_.io, [self, answer = std::move(answer)]() mutable {
                   self->releaseBody();
                   self->writeAnswer(std::move(answer), self->keepAlive_);
                 });
               });
  }

  void releaseBody() {
    core_.holdBodyBytes(-static_cast<std::ptrdiff_t>(heldBytes_));
    heldBytes_ = 0;
  }

  void complete(RequestRecord& record) const {
    record.time = wallStart_;
    record.client = client_;
    record.duration = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_);
  }

  void logRefusal(std::string reason) {
    HttpAnswer refused = refusal(std::move(reason));
    complete(refused.record);
    core_.log(refused.record);
  }

  HttpAnswer plainAnswer(int status, std::string reason) {
    HttpAnswer answer = refusal(std::move(reason));
    answer.status = status;
    answer.record.status = status;
    answer.body = status == 431 ? "Request head too large\n" : "Bad request\n";
    complete(answer.record);
    core_.log(answer.record);
    return answer;
  }

  // Answers a request refused while it was being read, then closes; its body is dropped.
  void writeExchange(SoapExchange& exchange) {
    parser_.reset();
    releaseBody();
    HttpAnswer answer{exchange.status, "text/xml; charset=utf-8", std::move(exchange.body),
                      std::move(exchange.record)};
    complete(answer.record);
    core_.log(answer.record);
    writeAnswer(std::move(answer), false);
  }

  void writeAnswer(HttpAnswer answer, bool keepAlive) {
    answering_ = true;
    response_.emplace(static_cast<http::status>(answer.status), version_);
    if (!answer.contentType.empty()) response_->set(http::field::content_type, answer.contentType);
    response_->body() = std::move(answer.body);
    response_->keep_alive(keepAlive && !core_.stopping);
    response_->prepare_payload();
    tcpLayer().expires_after(core_.settings.limits.writeDeadline);
    http::async_write(stream_, *response_,
                      [self = this->shared_from_this()](beast::error_code error, std::size_t) {
                        self->written(error);
                      });
  }

  void written(beast::error_code error) {
    answering_ = false;
    const bool keepAlive = response_->keep_alive();
    const std::size_t replyBytes = response_->body().size();
    response_.reset();
    if (replyBytes >= kLargeReplyBytes) {
      asio::post(core_.workers, [replyBytes] { releaseMemoryAfter(replyBytes); });
    }
    if (error) return close();
    if (!keepAlive || core_.stopping) return linger();
    tcpLayer().expires_after(core_.settings.limits.headerDeadline);
    readHead();
  }

  void handshakeFailed(beast::error_code error) {
    if (error == beast::error::timeout) {
      logRefusal("TLS handshake not complete within " +
                 seconds(core_.settings.limits.headerDeadline));
    } else if (error != asio::error::eof && error != asio::ssl::error::stream_truncated) {
      logRefusal("TLS handshake failed: " + error.message());
    }
    close();
  }

  // Stops sending and reads (and drops) what the peer still sends for a short while, so that
  // it gets the answer rather than a reset.
  void linger() {
    beast::error_code ignored;
    tcpLayer().socket().shutdown(tcp::socket::shutdown_send, ignored);
    tcpLayer().expires_after(kLingerTime);
    drain_.resize(16 * 1024);
    drainSome();
  }

  void drainSome() {
    tcpLayer().async_read_some(asio::buffer(drain_), [self = this->shared_from_this()](
                                                         beast::error_code error, std::size_t) {
      if (error) return self->close();
      self->drainSome();
    });
  }

  void close() {
    beast::error_code ignored;
    tcpLayer().socket().shutdown(tcp::socket::shutdown_both, ignored);
    tcpLayer().close();
  }

  HttpServer::Core& core_;
  Stream stream_;
  std::string client_;
  beast::flat_buffer buffer_;
  std::optional<http::request_parser<http::string_body>> parser_;
  std::optional<http::response<http::empty_body>> continue_;
  std::optional<http::response<http::string_body>> response_;
  std::string drain_;
  std::size_t heldBytes_ = 0;
  unsigned version_ = 11;
  bool keepAlive_ = false;
  bool answering_ = false;
  std::chrono::system_clock::time_point wallStart_;
  Clock::time_point start_;
};

}  // namespace

void serveConnection(HttpServer::Core& core, tcp::socket socket) {
  std::string client = peerAddress(socket);
  if (core.tls) {
    std::make_shared<Session<beast::ssl_stream<beast::tcp_stream>>>(core, std::move(socket),
                                                                    std::move(client))
        ->start();
  } else {
    std::make_shared<Session<beast::tcp_stream>>(core, std::move(socket), std::move(client))
        ->start();
  }
}

}  // namespace tarvine::serve
