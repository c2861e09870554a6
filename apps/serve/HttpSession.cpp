// One connection of the HTTP server: reads each request against its deadlines and limits on
// the network thread, has a worker answer it, writes the answer, and closes when done.
#include <boost/asio/post.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/ssl.hpp>
#include <memory>

#include "HttpCore.h"
#include "ReplyAllowance.h"
#include "SoapDispatcher.h"

namespace tarvine::serve {
namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;

// A request that may take a worker long: the orders query, or one that does not say which
// operation it is (the dispatcher refuses it, but only once it has parsed the body).
bool mayBeCostly(const IncomingRequest& request) {
  return request.method == "POST" &&
         (!request.soapAction ||
          request.soapAction->find("/GetOutgoingLoadAllOrders") != std::string::npos);
}
namespace http = beast::http;
using tcp = asio::ip::tcp;
using Clock = std::chrono::steady_clock;

// How long a connection that is being closed may go on sending before it is cut off.
constexpr auto kLingerTime = std::chrono::seconds(2);
// Bodies and replies up to this size are not counted against the bytes the server holds: at
// most ServerLimits::maxConnections of them fit in a few tens of MiB.
constexpr std::size_t kUncountedBytes = std::size_t{64} << 10;
constexpr const char* kXmlType = "text/xml; charset=utf-8";
// Replies at least this large are followed by returning freed memory to the system.
constexpr std::size_t kLargeReplyBytes = std::size_t{1} << 20;

std::string seconds(std::chrono::milliseconds duration) {
  const auto count = duration.count();
  return count % 1000 == 0 ? std::to_string(count / 1000) + " s" : std::to_string(count) + " ms";
}

std::string_view view(beast::string_view text) {
  return {text.data(), text.size()};
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
    releaseReply();
    core_.connectionSlots.giveBack(client_, 1);
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
  using Request = http::request<http::string_body>;

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
    if (std::optional<HttpAnswer> refused = framingProblem(head)) {
      return writeAnswer(std::move(*refused), false);
    }
    if (std::optional<HttpAnswer> refused = hostProblem(head)) {
      return writeAnswer(std::move(*refused), false);
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
      } else if (error.category() == http::make_error_code(http::error::bad_chunk).category() &&
                 error != http::error::partial_message) {
        return writeAnswer(plainAnswer(400, "malformed request body: " + error.message()), false);
      }
      return close();
    }
    // Bodies in memory count against the server's limit and the client's share as they grow,
    // however they are framed; small ones (every query) do not, so that large ones can never
    // crowd them out.
    const std::size_t size = parser_->get().body().size();
    const std::size_t counted = size > kUncountedBytes ? size : 0;
    if (counted > heldBytes_) {
      const SharedLimit::Grant grant = core_.bodyBytes.take(client_, counted - heldBytes_);
      if (grant != SharedLimit::Grant::Taken) {
        RequestRecord record;
        record.operation = "(no operation)";
        SoapExchange busy =
            busyExchange(grant == SharedLimit::Grant::OverTotal
                             ? "the service is busy with other large requests"
                             : "this address sends as many large requests as it may",
                         std::move(record));
        return writeExchange(busy);
      }
      heldBytes_ = counted;
    }
    readBody();
  }

  // A request whose body length cannot be told for sure: a Transfer-Encoding other than a final
  // "chunked", or one in HTTP/1.0 (RFC 9112, 6.3), else its body could be read as a request of
  // its own. Other codings before "chunked" are not implemented (501).
  std::optional<HttpAnswer> framingProblem(const Request& head) {
    if (head.count(http::field::transfer_encoding) == 0) return std::nullopt;
    std::vector<std::string> codings;
    for (auto [field, end] = head.equal_range(http::field::transfer_encoding); field != end;
         ++field) {
      for (const auto coding : http::token_list(field->value())) codings.emplace_back(view(coding));
    }
    const std::string shown =
        "Transfer-Encoding \"" +
        std::string(view(head[http::field::transfer_encoding])).substr(0, 100) + "\"";
    if (codings.empty() || !beast::iequals(codings.back(), "chunked") || head.version() < 11) {
      return plainAnswer(400, shown + " leaves the body's length unknown");
    }
    if (codings.size() > 1) return plainAnswer(501, shown + ": only chunked is implemented");
    return std::nullopt;
  }

  // One Host header that is a plain host[:port] (RFC 9112, 3.2; none only in HTTP/1.0), naming
  // a host the service takes (see hostAccepted): else 400, or 403 on loopback, 421 elsewhere.
  std::optional<HttpAnswer> hostProblem(const Request& head) {
    const std::size_t count = head.count(http::field::host);
    if (count == 0 && head.version() < 11) return std::nullopt;
    if (count != 1) {
      return plainAnswer(400, count == 0 ? "no Host header" : "more than one Host header");
    }
    const std::string_view value = view(head[http::field::host]);
    const std::string shown = "Host header \"" + std::string(value.substr(0, 100)) + "\"";
    const std::optional<std::string_view> host = plainHostPart(value);
    if (!host) return plainAnswer(400, shown + " is not a plain host[:port]");
    if (hostAccepted(*host, core_.loopbackOnly, core_.settings.serverNames)) return std::nullopt;
    if (!core_.loopbackOnly) return plainAnswer(421, shown + " names no --server-name");
    logRefusal(shown + " names no loopback");
    return refusal(shown + " names no loopback");
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
    const bool costly = mayBeCostly(incoming);
    core_.workQueue.post(
        client_,
        [self = this->shared_from_this(), incoming = std::move(incoming)]() mutable {
          const std::size_t bodyBytes = incoming.body.size();
          HttpAnswer answer;
          {
            const ReplyAllowance allowance([&](std::size_t bytes) { self->takeReplyBytes(bytes); });
            answer = answerRequest(std::move(incoming), self->core_.routes);
          }
          self->holdReply(answer);
          self->complete(answer.record);
          self->core_.log(answer.record);
          releaseMemoryAfter(bodyBytes);
          asio::post(self->core_.io, [self, answer = std::move(answer)]() mutable {
            self->releaseBody();
            self->writeAnswer(std::move(answer), self->keepAlive_);
          });
        },
        costly);
  }

  // Takes bytes of a reply being built against the server's limit and the client's share, once
  // it has grown past the size that is never counted; throws ReplyRefused when either would be
  // passed.
  void takeReplyBytes(std::size_t bytes) {
    builtReplyBytes_ += bytes;
    if (builtReplyBytes_ <= kUncountedBytes) return;
    const std::size_t more = builtReplyBytes_ - heldReplyBytes_;
    switch (core_.replyBytes.take(client_, more)) {
      case SharedLimit::Grant::Taken:
        heldReplyBytes_ += more;
        return;
      case SharedLimit::Grant::OverTotal:
        throw ReplyRefused("the service holds as many large replies as it may");
      case SharedLimit::Grant::OverClientShare:
        throw ReplyRefused("this address holds as many large replies as it may");
    }
  }

  // A reply taken as it was built is held until written; any other is not counted. A "busy"
  // answer closes the connection after it, so that a client that does not read has nothing
  // more answered on it.
  void holdReply(const HttpAnswer& answer) {
    if (answer.body.size() <= kUncountedBytes) releaseReply();
    if (answer.status == 503) keepAlive_ = false;
  }

  void releaseBody() {
    core_.bodyBytes.giveBack(client_, heldBytes_);
    heldBytes_ = 0;
  }

  void releaseReply() {
    core_.replyBytes.giveBack(client_, heldReplyBytes_);
    heldReplyBytes_ = builtReplyBytes_ = 0;
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

  // A plain answer with the status (431, 421, 501, else 400) to a request refused as read,
  // logged with the reason.
  HttpAnswer plainAnswer(int status, std::string reason) {
    HttpAnswer answer = refusal(std::move(reason));
    answer.status = status;
    answer.record.status = status;
    answer.body = status == 431   ? "Request head too large\n"
                  : status == 421 ? "Misdirected request\n"
                  : status == 501 ? "Not implemented\n"
                                  : "Bad request\n";
    complete(answer.record);
    core_.log(answer.record);
    return answer;
  }

  // Answers a request refused while it was being read, then closes; its body is dropped.
  void writeExchange(SoapExchange& exchange) {
    parser_.reset();
    releaseBody();
    HttpAnswer answer{exchange.status, kXmlType, std::move(exchange.body),
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
    releaseReply();
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
  std::size_t heldBytes_ = 0;        // of the body, counted against the shared limit
  std::size_t heldReplyBytes_ = 0;   // of the reply being written, likewise
  std::size_t builtReplyBytes_ = 0;  // of the data set being built
  unsigned version_ = 11;
  bool keepAlive_ = false;
  bool answering_ = false;
  std::chrono::system_clock::time_point wallStart_;
  Clock::time_point start_;
};

}  // namespace

void serveConnection(HttpServer::Core& core, tcp::socket socket, std::string client) {
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
