#include "platform/HttpRequest.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "RawHttpServer.h"
#include "ScopedEnvironment.h"
#include "platform/RuntimeError.h"

namespace tarvine {
namespace {

using test::ClosedPort;
using test::httpResponse;
using test::RawHttpServer;
using test::RawReply;

// libcurl codes the tests expect.
constexpr std::int32_t kCouldNotConnect = 7;
constexpr std::int32_t kPartialFile = 18;
constexpr std::int32_t kTimedOut = 28;
constexpr std::int32_t kBadArgument = 43;
constexpr std::int32_t kGotNothing = 52;
constexpr std::int32_t kTooLarge = 63;

using Headers = std::vector<std::pair<std::string, std::string>>;

void openWithHeaders(HttpRequest& request, const std::string& url, const Headers& headers) {
  request.open("POST", url);
  for (const auto& [name, value] : headers) request.setRequestHeader(name, value);
}

// Runs send and returns the error it raised; fails the test when it raised none.
RuntimeError sendError(HttpRequest& request, std::string_view body) {
  try {
    request.send(body);
  } catch (const RuntimeError& error) {
    return error;
  }
  ADD_FAILURE() << "send did not fail";
  return RuntimeError(0, "");
}

// The headers set go out as they are, in their order: TransportTest pins a whole request.
TEST(HttpRequestTest, WithoutHeadersSendsOnlyWhatHttpNeedsAndEmptyValuesStayEmpty) {
  RawHttpServer server(RawReply::full(httpResponse(200, "")));
  HttpRequest request;
  request.open("post", server.url());
  request.send("abc");
  EXPECT_EQ(server.request().value_or(""),
            "POST / HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(server.port()) +
                "\r\nContent-Length: 3\r\n\r\nabc");
  openWithHeaders(request, server.url(), {{"SOAPAction", ""}});
  request.send("");
  EXPECT_NE(server.request(1).value_or("").find("\r\nSOAPAction:\r\n"), std::string::npos);
}

TEST(HttpRequestTest, BodyBytesArriveUnchanged) {
  // Large enough that libcurl would otherwise ask for "Expect: 100-continue".
  std::string body(1'600'000, 'b');
  for (std::size_t i = 0; i < body.size(); i += 997) body[i] = static_cast<char>(i % 256);
  RawHttpServer server(RawReply::full(httpResponse(200, "")));
  HttpRequest request;
  openWithHeaders(request, server.url(), {{"Content-Length", std::to_string(body.size())}});
  request.send(body);

  const std::string received = server.request().value_or("");
  ASSERT_GE(received.size(), body.size());
  EXPECT_EQ(received.find("Expect"), std::string::npos);
  EXPECT_TRUE(received.ends_with("\r\n\r\n" + body));
}

// Scheme, user info and path of a Host header set are stripped; a bare host stays as it is.
TEST(HttpRequestTest, HostHeaderKeepsOnlyTheHostAndPort) {
  RawHttpServer server(RawReply::full(httpResponse(200, "")));
  const std::pair<const char*, const char*> cases[] = {
      {"http://server:8080", "server:8080"},
      {"https://server.example/VOZA/Svc.asmx?x#y", "server.example"},
      {"http://user:pw@server:81/p", "server:81"},
      {"server:8080", "server:8080"}};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    HttpRequest request;
    openWithHeaders(request, server.url(), {{"Host", cases[i].first}});
    request.send("x");
    EXPECT_EQ(test::headerValue(server.request(i).value_or(""), "Host"), cases[i].second);
  }
}

// Credentials in the URL would go out as Basic authentication: refused in clear text, before
// anything is sent; over https they reach the connection attempt.
TEST(HttpRequestTest, CredentialsGoOnlyOverHttps) {
  ClosedPort closed;
  for (const auto& [scheme, code] :
       {std::pair{"http://", kBadArgument}, {"", kBadArgument}, {"https://", kCouldNotConnect}}) {
    HttpRequest request;
    try {
      request.open(
          "POST", scheme + std::string("user:pw@127.0.0.1:") + std::to_string(closed.port()) + "/");
      request.send("x");
      ADD_FAILURE() << scheme << ": the exchange did not fail";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.number(), kHttpErrorBase + code) << scheme << error.description();
      EXPECT_EQ(error.source(), "libcurl");
    }
  }
}

// The proxy variables are honoured unless TARVINE_NO_PROXY is set.
TEST(HttpRequestTest, ProxyVariablesCanBeIgnored) {
  RawHttpServer proxy(RawReply::full(httpResponse(200, "<proxy/>")));
  RawHttpServer server(RawReply::full(httpResponse(200, "<server/>")));
  const test::ScopedEnvironment http("http_proxy", proxy.url()), no("no_proxy", std::nullopt),
      noUpper("NO_PROXY", std::nullopt);
  for (const auto& [ignore, reply] :
       {std::pair<std::optional<std::string>, std::string>{std::nullopt, "<proxy/>"},
        {"1", "<server/>"}}) {
    const test::ScopedEnvironment noProxy("TARVINE_NO_PROXY", ignore);
    HttpRequest request;
    request.open("POST", server.url());
    request.send("x");
    EXPECT_EQ(request.responseText(), reply);
  }
}

// Any status is an answer and a redirect is not followed; a body may end with the connection or
// exactly at the reply limit.
TEST(HttpRequestTest, AnyStatusIsAnAnswer) {
  const std::string atLimit(1000, 'a');
  const std::tuple<std::string, int, std::string> cases[] = {
      {httpResponse(500, "<soap:Fault>a &amp; b</soap:Fault>"), 500,
       "<soap:Fault>a &amp; b</soap:Fault>"},
      {"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n<r>all</r>", 200, "<r>all</r>"},
      {httpResponse(200, atLimit), 200, atLimit},
      {httpResponse(302, "", "Location: /elsewhere\r\n"), 302, ""}};
  for (const auto& [reply, status, text] : cases) {
    RawHttpServer server(RawReply::full(reply));
    HttpRequest request;
    request.setMaxReplyBytes(1000);
    request.open("POST", server.url());
    request.send("<x/>");
    EXPECT_EQ(request.readyState(), HttpRequest::kDone);
    EXPECT_EQ(request.status(), status);
    EXPECT_EQ(request.takeResponseText(), text);
    EXPECT_EQ(request.responseText(), "");
    EXPECT_EQ(server.requestCount(), 1u);
  }
}

TEST(HttpRequestTest, ReadyStateFollowsTheExchange) {
  RawHttpServer server(RawReply::full(httpResponse(200, "<a/>")));
  HttpRequest request;
  EXPECT_EQ(request.readyState(), HttpRequest::kUnsent);
  request.open("POST", server.url());
  request.send("x");
  EXPECT_EQ(request.readyState(), HttpRequest::kDone);
  EXPECT_EQ(sendError(request, "again").number(), kHttpErrorBase + kBadArgument);
  request.open("POST", server.url());
  EXPECT_EQ(request.readyState(), HttpRequest::kOpened);
  EXPECT_EQ(request.status(), 0);
  EXPECT_EQ(request.responseText(), "");
  request.send("second");
  EXPECT_EQ(server.requestCount(), 2u);
}

TEST(HttpRequestTest, RefusesMisuse) {
  HttpRequest request;
  EXPECT_THROW(request.setRequestHeader("Host", "x"), RuntimeError);
  EXPECT_EQ(sendError(request, "x").number(), kHttpErrorBase + kBadArgument);
  EXPECT_THROW(request.open("GET", "http://127.0.0.1/"), RuntimeError);
  EXPECT_EQ(request.readyState(), HttpRequest::kUnsent);

  request.open("POST", "http://127.0.0.1/");
  for (const auto& [name, value] : Headers{{"", "v"},
                                           {"Bad Name", "v"},
                                           {"Bad:Name", "v"},
                                           {"X", "a\r\nInjected: yes"},
                                           {"X", "a\nInjected: yes"},
                                           {"X", std::string("a\0b", 3)}}) {
    EXPECT_THROW(request.setRequestHeader(name, value), RuntimeError) << name << ": " << value;
  }
}

struct FailureCase {
  const char* name;
  RawReply reply;
  std::size_t limit;
  std::int32_t code;
  std::string description;  // checked when set
};

class FailedExchangeTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FailedExchangeTest, ThrowsWithTheLibcurlCodeAndKeepsNothing) {
  RawHttpServer server(GetParam().reply);
  HttpRequest request;
  request.setTimeouts({std::chrono::milliseconds(2000), std::chrono::milliseconds(300)});
  request.setMaxReplyBytes(GetParam().limit);
  request.open("POST", server.url());
  const RuntimeError error = sendError(request, "x");
  EXPECT_EQ(error.number(), kHttpErrorBase + GetParam().code);
  if (!GetParam().description.empty()) {
    EXPECT_EQ(error.description(), GetParam().description);
  }
  EXPECT_EQ(request.readyState(), HttpRequest::kOpened);
  EXPECT_EQ(request.responseText(), "");
  EXPECT_TRUE(server.request().has_value());
}

const std::string kClosedHead = "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n";
const std::string kHundred = httpResponse(200, std::string(100, 'a'));

INSTANTIATE_TEST_SUITE_P(
    Replies, FailedExchangeTest,
    ::testing::Values(
        FailureCase{"NeverAnswered", RawReply::silence(), 1000, kTimedOut, ""},
        FailureCase{"ClosedMidBody", RawReply::truncated(kHundred, kHundred.size() - 90), 1000,
                    kPartialFile, ""},
        FailureCase{"ClosedWithoutReply", RawReply::truncated(kHundred, 0), 1000, kGotNothing, ""},
        FailureCase{"AnnouncedLength", RawReply::full(httpResponse(200, std::string(1001, 'a'))),
                    1000, kTooLarge, "The reply is larger than 1000 bytes"},
        FailureCase{"UnannouncedLength", RawReply::full(kClosedHead + std::string(5000, 'a')), 1000,
                    kTooLarge, "The reply is larger than 1000 bytes"},
        FailureCase{"WholeMebibytes",
                    RawReply::full(kClosedHead + std::string((std::size_t{1} << 20) + 1, 'a')),
                    std::size_t{1} << 20, kTooLarge, "The reply is larger than 1 MiB"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvine
