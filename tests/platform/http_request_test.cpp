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

// The value of the first header line called `name` in raw request bytes.
std::string headerValue(const std::string& request, const std::string& name) {
  const std::string key = "\r\n" + name + ": ";
  const std::size_t start = request.find(key);
  if (start == std::string::npos) return "<missing>";
  const std::size_t valueStart = start + key.size();
  return request.substr(valueStart, request.find("\r\n", valueStart) - valueStart);
}

TEST(HttpRequestTest, SendsExactlyTheHeadersSetInTheirOrder) {
  RawHttpServer server(RawReply::full(httpResponse(200, "<ok/>")));
  const std::string host = "127.0.0.1:" + std::to_string(server.port());
  const std::string body = "<?xml version=\"1.0\"?>\r\n<e>x</e>\r\n";
  HttpRequest request;
  openWithHeaders(request, server.url("/VOZA/Service1.asmx"),
                  {{"Host", host},
                   {"Content-Type", "text/xml; charset=utf-8"},
                   {"Content-Length", std::to_string(body.size())},
                   {"SOAPAction", "http://ns/Op"}});
  request.send(body);

  EXPECT_EQ(server.request().value_or(""),
            "POST /VOZA/Service1.asmx HTTP/1.1\r\n"
            "Host: " +
                host +
                "\r\n"
                "Content-Type: text/xml; charset=utf-8\r\n"
                "Content-Length: " +
                std::to_string(body.size()) +
                "\r\n"
                "SOAPAction: http://ns/Op\r\n"
                "\r\n" +
                body);
}

TEST(HttpRequestTest, WithoutHeadersSendsOnlyWhatHttpNeeds) {
  RawHttpServer server(RawReply::full(httpResponse(200, "")));
  HttpRequest request;
  request.open("post", server.url());
  request.send("abc");
  EXPECT_EQ(server.request().value_or(""),
            "POST / HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(server.port()) +
                "\r\nContent-Length: 3\r\n\r\nabc");
}

TEST(HttpRequestTest, EmptyHeaderValueIsSentEmpty) {
  RawHttpServer server(RawReply::full(httpResponse(200, "")));
  HttpRequest request;
  openWithHeaders(request, server.url(), {{"SOAPAction", ""}});
  request.send("");
  EXPECT_NE(server.request().value_or("").find("\r\nSOAPAction:\r\n"), std::string::npos);
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

struct HostCase {
  const char* name;
  std::string value;
  std::string sent;
};

class HostHeaderTest : public ::testing::TestWithParam<HostCase> {};

TEST_P(HostHeaderTest, SchemeAndPathAreStripped) {
  RawHttpServer server(RawReply::full(httpResponse(200, "")));
  HttpRequest request;
  openWithHeaders(request, server.url(), {{"Host", GetParam().value}});
  request.send("x");
  EXPECT_EQ(headerValue(server.request().value_or(""), "Host"), GetParam().sent);
}

INSTANTIATE_TEST_SUITE_P(
    Values, HostHeaderTest,
    ::testing::Values(HostCase{"HttpWithPort", "http://server:8080", "server:8080"},
                      HostCase{"HttpsWithPath", "https://server.example/VOZA/Svc.asmx?x#y",
                               "server.example"},
                      HostCase{"UpperCaseScheme", "HTTP://Server/", "Server"},
                      HostCase{"UserInfoDropped", "http://user:pw@server:81/p", "server:81"},
                      HostCase{"BareHostUnchanged", "server:8080", "server:8080"},
                      HostCase{"BareNameUnchanged", "backoffice", "backoffice"}),
    [](const auto& info) { return std::string(info.param.name); });

struct CredentialsCase {
  const char* name;
  std::string scheme;  // put before "user:pw@127.0.0.1:PORT/"
  std::int32_t code;   // libcurl code of the failure against a closed port
};

class CredentialsTest : public ::testing::TestWithParam<CredentialsCase> {};

// Credentials in the URL would go out as Basic authentication: refused in clear text, before
// anything is sent; over https they reach the connection attempt.
TEST_P(CredentialsTest, GoOnlyOverHttps) {
  ClosedPort closed;
  const std::string url = GetParam().scheme + "user:pw@127.0.0.1:" + std::to_string(closed.port());
  HttpRequest request;
  try {
    request.open("POST", url + "/");
    request.send("x");
    ADD_FAILURE() << "the exchange did not fail";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.number(), kHttpErrorBase + GetParam().code) << error.description();
    EXPECT_EQ(error.source(), "libcurl");
  }
}

INSTANTIATE_TEST_SUITE_P(Urls, CredentialsTest,
                         ::testing::Values(CredentialsCase{"Http", "http://", kBadArgument},
                                           CredentialsCase{"NoScheme", "", kBadArgument},
                                           CredentialsCase{"Https", "https://", kCouldNotConnect}),
                         [](const auto& info) { return std::string(info.param.name); });

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

TEST(HttpRequestTest, ReturnsStatusAndBodyOfAnyStatus) {
  const std::string fault = "<soap:Fault>boom &amp; more</soap:Fault>";
  RawHttpServer server(RawReply::full(httpResponse(500, fault)));
  HttpRequest request;
  request.open("POST", server.url());
  request.send("<x/>");
  EXPECT_EQ(request.readyState(), HttpRequest::kDone);
  EXPECT_EQ(request.status(), 500);
  EXPECT_EQ(request.responseText(), fault);
  EXPECT_EQ(request.takeResponseText(), fault);
  EXPECT_EQ(request.responseText(), "");
}

TEST(HttpRequestTest, BodyEndedByClosingTheConnectionIsComplete) {
  RawHttpServer server(RawReply::full("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n<r>all</r>"));
  HttpRequest request;
  request.open("POST", server.url());
  request.send("");
  EXPECT_EQ(request.status(), 200);
  EXPECT_EQ(request.responseText(), "<r>all</r>");
}

TEST(HttpRequestTest, RedirectsAreNotFollowed) {
  RawHttpServer server(RawReply::full(httpResponse(302, "", "Location: /elsewhere\r\n")));
  HttpRequest request;
  request.open("POST", server.url());
  request.send("x");
  EXPECT_EQ(request.status(), 302);
  EXPECT_EQ(server.requestCount(), 1u);
}

TEST(HttpRequestTest, ReadyStateFollowsTheExchange) {
  RawHttpServer server(RawReply::full(httpResponse(200, "<a/>")));
  HttpRequest request;
  EXPECT_EQ(request.readyState(), HttpRequest::kUnsent);
  request.open("POST", server.url());
  EXPECT_EQ(request.readyState(), HttpRequest::kOpened);
  EXPECT_EQ(request.status(), 0);
  request.send("x");
  EXPECT_EQ(request.readyState(), HttpRequest::kDone);

  EXPECT_EQ(sendError(request, "again").number(), kHttpErrorBase + kBadArgument);
  request.open("POST", server.url());
  EXPECT_EQ(request.readyState(), HttpRequest::kOpened);
  EXPECT_EQ(request.status(), 0);
  EXPECT_EQ(request.responseText(), "");
  request.send("second");
  EXPECT_EQ(request.readyState(), HttpRequest::kDone);
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
                                           {"X", std::string("a\0b", 3)}}) {
    EXPECT_THROW(request.setRequestHeader(name, value), RuntimeError) << name << ": " << value;
  }
}

TEST(HttpRequestTest, RefusedConnectionThrowsWithTheLibcurlCode) {
  ClosedPort closed;
  HttpRequest request;
  request.open("POST", closed.url());
  const RuntimeError error = sendError(request, "x");
  EXPECT_EQ(error.number(), kHttpErrorBase + kCouldNotConnect);
  EXPECT_EQ(error.source(), "libcurl");
  EXPECT_TRUE(error.description().starts_with("Couldn't connect to server: ")) << error.what();
  EXPECT_NE(error.description().find(std::to_string(closed.port())), std::string::npos);
  EXPECT_EQ(request.readyState(), HttpRequest::kOpened);
  EXPECT_EQ(request.status(), 0);
}

TEST(HttpRequestTest, ServerThatNeverAnswersTimesOut) {
  RawHttpServer server(RawReply::silence());
  HttpRequest request;
  request.setTimeouts({std::chrono::milliseconds(2000), std::chrono::milliseconds(300)});
  request.open("POST", server.url());
  EXPECT_EQ(sendError(request, "x").number(), kHttpErrorBase + kTimedOut);
  EXPECT_EQ(request.readyState(), HttpRequest::kOpened);
  EXPECT_TRUE(server.request().has_value());
}

struct LimitCase {
  const char* name;
  std::size_t limit;
  std::string reply;
  std::string description;
};

class ReplyLimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(ReplyLimitTest, OversizedReplyFailsTheExchange) {
  RawHttpServer server(RawReply::full(GetParam().reply));
  HttpRequest request;
  request.setMaxReplyBytes(GetParam().limit);
  request.open("POST", server.url());
  const RuntimeError error = sendError(request, "x");
  EXPECT_EQ(error.number(), kHttpErrorBase + kTooLarge);
  EXPECT_EQ(error.description(), GetParam().description);
  EXPECT_EQ(request.readyState(), HttpRequest::kOpened);
  EXPECT_EQ(request.responseText(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ReplyLimitTest,
    ::testing::Values(LimitCase{"AnnouncedLength", 1000, httpResponse(200, std::string(1001, 'a')),
                                "The reply is larger than 1000 bytes"},
                      LimitCase{
                          "UnannouncedLength", 1000,
                          "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + std::string(5000, 'a'),
                          "The reply is larger than 1000 bytes"},
                      LimitCase{"WholeMebibytes", std::size_t{1} << 20,
                                "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" +
                                    std::string((std::size_t{1} << 20) + 1, 'a'),
                                "The reply is larger than 1 MiB"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HttpRequestTest, ReplyExactlyAtTheLimitIsAccepted) {
  RawHttpServer server(RawReply::full(httpResponse(200, std::string(1000, 'a'))));
  HttpRequest request;
  request.setMaxReplyBytes(1000);
  request.open("POST", server.url());
  request.send("x");
  EXPECT_EQ(request.responseText().size(), 1000u);
}

TEST(HttpRequestTest, ConnectionClosedMidBodyFails) {
  const std::string reply = httpResponse(200, std::string(100, 'a'));
  RawHttpServer server(RawReply::truncated(reply, reply.size() - 90));
  HttpRequest request;
  request.open("POST", server.url());
  EXPECT_EQ(sendError(request, "x").number(), kHttpErrorBase + kPartialFile);
  EXPECT_EQ(request.readyState(), HttpRequest::kOpened);
}

TEST(HttpRequestTest, ConnectionClosedWithoutReplyFails) {
  RawHttpServer server(RawReply::truncated(httpResponse(200, "<a/>"), 0));
  HttpRequest request;
  request.open("POST", server.url());
  EXPECT_EQ(sendError(request, "x").number(), kHttpErrorBase + kGotNothing);
  EXPECT_EQ(request.readyState(), HttpRequest::kOpened);
}

}  // namespace
}  // namespace tarvine
