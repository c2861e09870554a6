// HTTP exchanges against a raw loopback server: what goes on the wire, and each step's state,
// reply or error, written into tests/golden/platform/http.txt and compared whole.

#include "platform/HttpRequest.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "Golden.h"
#include "RawHttpServer.h"
#include "ScopedEnvironment.h"
#include "TestText.h"
#include "platform/RuntimeError.h"

namespace tarvine {
namespace {

using test::httpResponse;
using test::RawHttpServer;
using test::RawReply;

class HttpRequestTest : public ::testing::Test {
 protected:
  // Writes the step, runs it, then the request's state, status and reply, or the error (as its
  // libcurl code) it raised.
  void step(const std::string& what, HttpRequest& request, const std::function<void()>& action) {
    out << what << '\n';
    try {
      action();
      out << "  state " << request.readyState() << ", status " << request.status() << ": '"
          << request.takeResponseText() << "' then '" << request.takeResponseText() << "'\n";
    } catch (const RuntimeError& error) {
      out << "  error " << error.number() - kHttpErrorBase << " from " << error.source() << ": "
          << error.description() << "; state " << request.readyState() << ", reply '"
          << request.takeResponseText() << "'\n";
    }
  }
  // Compares the transcript with tests/golden/platform/NAME.txt; the servers' ports, named in
  // what they received and in libcurl's messages, and how long an attempt took vary.
  void expectTranscript(const std::string& name) {
    std::string text = std::regex_replace(out.str(), std::regex("port [0-9]+"), "port N");
    text = std::regex_replace(text, std::regex("127\\.0\\.0\\.1:[0-9]+"), "127.0.0.1:PORT");
    test::expectGolden(test::withoutElapsedTime(text), "platform/" + name + ".txt");
  }
  std::ostringstream out;
};

// Without headers only what HTTP needs goes out; headers set go out as they are, an empty value
// stays empty, and a Host header keeps only the host and port of what it was given.
TEST_F(HttpRequestTest, WhatGoesOnTheWire) {
  RawHttpServer server(RawReply::full(httpResponse(200, "")));
  HttpRequest request;
  step("lower-case post without headers", request, [&] {
    request.open("post", server.url());
    request.send("abc");
  });
  out << "  received: " << server.request(0).value_or("(nothing)") << '\n';
  step("empty SOAPAction", request, [&] {
    request.open("POST", server.url());
    request.setRequestHeader("SOAPAction", "");
    request.send("");
  });
  out << "  received: " << server.request(1).value_or("(nothing)") << '\n';
  std::size_t index = 2;
  for (const char* host : {"http://server:8080", "https://server.example/VOZA/Svc.asmx?x#y",
                           "http://user:pw@server:81/p", "server:8080"}) {
    step(std::string("Host ") + host, request, [&] {
      request.open("POST", server.url());
      request.setRequestHeader("Host", host);
      request.send("x");
    });
    out << "  Host: "
        << test::headerValue(server.request(index++).value_or(""), "Host").value_or("(none)")
        << '\n';
  }
  // Credentials would go out as Basic authentication: refused in clear text before anything is
  // sent; over https they reach the connection attempt.
  test::ClosedPort closed;
  for (const char* scheme : {"http://", "", "https://"}) {
    step(std::string("credentials with ") + scheme, request, [&] {
      request.open(
          "POST", scheme + std::string("user:pw@127.0.0.1:") + std::to_string(closed.port()) + "/");
      request.send("x");
    });
  }
  // Misuse is refused; so is a header name or value that would break the request's head.
  HttpRequest fresh;
  step("header before open", fresh, [&] { fresh.setRequestHeader("Host", "x"); });
  step("send before open", fresh, [&] { fresh.send("x"); });
  step("PUT", fresh, [&] { fresh.open("PUT", "http://127.0.0.1/"); });
  fresh.open("POST", "http://127.0.0.1/");
  for (const auto& [name, value] :
       std::vector<std::pair<std::string, std::string>>{{"", "v"},
                                                        {"Bad Name", "v"},
                                                        {"Bad:Name", "v"},
                                                        {"X", "a\r\nInjected: yes"},
                                                        {"X", "a\nInjected: yes"},
                                                        {"X", std::string("a\0b", 3)}}) {
    step("header '" + name + "' of " + std::to_string(value.size()) + " bytes", fresh,
         [&] { fresh.setRequestHeader(name, value); });
  }
  expectTranscript("http-wire");
}

TEST_F(HttpRequestTest, BodyBytesArriveUnchanged) {
  // Large enough that libcurl would otherwise ask for "Expect: 100-continue".
  std::string body(1'600'000, 'b');
  for (std::size_t i = 0; i < body.size(); i += 997) body[i] = static_cast<char>(i % 256);
  RawHttpServer server(RawReply::full(httpResponse(200, "")));
  HttpRequest request;
  request.open("POST", server.url());
  request.setRequestHeader("Content-Length", std::to_string(body.size()));
  request.send(body);

  const std::string received = server.request().value_or("");
  ASSERT_GE(received.size(), body.size());
  EXPECT_EQ(received.find("Expect"), std::string::npos);
  EXPECT_TRUE(received.ends_with("\r\n\r\n" + body));
}

// Any status is an answer and a redirect is not followed; a body may end with the connection or
// exactly at the reply limit. A reply cut off, never given or too large fails and keeps nothing.
// The proxy variables are honoured unless TARVINE_NO_PROXY is set.
TEST_F(HttpRequestTest, Replies) {
  const std::string closedHead = "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n";
  const std::string hundred = httpResponse(200, std::string(100, 'a'));
  const std::pair<const char*, RawReply> replies[] = {
      {"fault", RawReply::full(httpResponse(500, "<soap:Fault>a &amp; b</soap:Fault>"))},
      {"ended by the connection", RawReply::full(closedHead + "<r>all</r>")},
      {"at the limit", RawReply::full(httpResponse(200, std::string(1000, 'a')))},
      {"redirect", RawReply::full(httpResponse(302, "", "Location: /elsewhere\r\n"))},
      {"never answered", RawReply::silence()},
      {"closed mid-body", RawReply::truncated(hundred, hundred.size() - 90)},
      {"closed without a reply", RawReply::truncated(hundred, 0)},
      {"announced beyond the limit", RawReply::full(httpResponse(200, std::string(1001, 'a')))},
      {"beyond the limit", RawReply::full(closedHead + std::string(5000, 'a'))},
      {"beyond a mebibyte", RawReply::full(closedHead + std::string((1u << 20) + 1, 'a'))}};
  for (const auto& [name, reply] : replies) {
    RawHttpServer server(reply);
    HttpRequest request;
    request.setTimeouts({std::chrono::milliseconds(2000), std::chrono::milliseconds(300)});
    request.setMaxReplyBytes(std::string_view(name) == "beyond a mebibyte" ? 1u << 20 : 1000);
    step(name, request, [&] {
      request.open("POST", server.url());
      request.send("<x/>");
    });
    out << "  " << server.requestCount() << " request(s)\n";
  }

  RawHttpServer server(RawReply::full(httpResponse(200, "<a/>")));
  HttpRequest request;
  out << "state of a new request " << request.readyState() << '\n';
  step("sent", request, [&] {
    request.open("POST", server.url());
    request.send("x");
  });
  step("sent again", request, [&] { request.send("again"); });
  step("opened again", request, [&] { request.open("POST", server.url()); });
  step("sent once more", request, [&] { request.send("second"); });
  out << "  " << server.requestCount() << " request(s)\n";

  RawHttpServer proxy(RawReply::full(httpResponse(200, "<proxy/>")));
  const test::ScopedEnvironment http("http_proxy", proxy.url()), no("no_proxy", std::nullopt),
      noUpper("NO_PROXY", std::nullopt);
  for (const std::optional<std::string>& ignore : {std::optional<std::string>(), {"1"}}) {
    const test::ScopedEnvironment noProxy("TARVINE_NO_PROXY", ignore);
    step("TARVINE_NO_PROXY " + ignore.value_or("unset"), request, [&] {
      request.open("POST", server.url());
      request.send("x");
    });
  }
  expectTranscript("http-replies");
}

}  // namespace
}  // namespace tarvine
