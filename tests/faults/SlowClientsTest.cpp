// Hostile clients on the reference route service: 64 connections from the control's own
// address that send their request one byte at a time, or nothing at all. While they are
// connected the control opens and saves a load as usual, and the service closes each of them
// at its deadline however busy it keeps the connection.

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "CaseName.h"
#include "FaultFixture.h"
#include "Loopback.h"
#include "RouteService.h"

namespace tarvine::test {
namespace {

constexpr int kSlowClients = 64;
constexpr auto kDeadline = std::chrono::milliseconds(400);
constexpr auto kByteEvery = std::chrono::milliseconds(50);

// What a slow client sends at once, and what it then sends one byte at a time.
struct SlowCase {
  const char* name;
  std::string opening;
  std::string trickle;
};

const std::string kHead =
    "POST /WebServices/VOZAWebservice/VOZAWebservice.asmx HTTP/1.1\r\nHost: 127.0.0.1\r\n";

// True once the service has closed its end (reads give end of file or an error) before `until`.
bool closedBy(int fd, std::chrono::steady_clock::time_point until) {
  char buffer[256];
  while (true) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        until - std::chrono::steady_clock::now());
    if (left.count() <= 0 || waitFor(fd, POLLIN, -1, static_cast<int>(left.count())) != 1) {
      return false;
    }
    if (recv(fd, buffer, sizeof buffer, MSG_DONTWAIT) <= 0) return true;
  }
}

class SlowClients : public FaultTest, public ::testing::WithParamInterface<SlowCase> {
 protected:
  SlowClients() {
    service.setRequestLog(nullptr);
    serve::ServerSettings settings;
    settings.limits.headerDeadline = kDeadline;
    settings.limits.bodyDeadline = kDeadline;
    // They share the control's address, whose cap on connections would otherwise refuse it.
    settings.limits.maxConnectionsPerClient = 2 * kSlowClients;
    port = service.start(settings);
    control.PutServerName(service.baseUrl());
  }

  serve::RouteService service{dbPath};
  int port = 0;
};

TEST_P(SlowClients, NeitherHoldTheServiceNorOutlastTheirDeadline) {
  const std::string& trickle = GetParam().trickle;
  std::vector<int> slow;
  for (int i = 0; i < kSlowClients; ++i)
    slow.push_back(connectFrom(port, "127.0.0.1", GetParam().opening));
  std::atomic<bool> done{false};
  std::thread trickler([&] {
    for (std::size_t next = 0; !done && !trickle.empty(); ++next) {
      for (const int fd : slow)
        send(fd, &trickle[next % trickle.size()], 1, MSG_NOSIGNAL | MSG_DONTWAIT);
      std::this_thread::sleep_for(kByteEvery);
    }
  });

  control.PutTarvineID(kDemoLoad);
  list().userToggleCheck(firstCheckedPosition());
  control.widgets().cmdSave.userClick();
  EXPECT_TRUE(log.entries().empty());
  EXPECT_TRUE(shown(kSaved));

  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  int closed = 0;
  for (const int fd : slow) closed += closedBy(fd, until);
  done = true;
  trickler.join();
  for (const int fd : slow) close(fd);
  EXPECT_EQ(closed, kSlowClients);
}

const SlowCase kSlowCases[] = {
    {"SilentAfterConnecting", "", ""},
    {"HeadOneByteAtATime", kHead, "X-Slow: a\r\n"},
    {"BodyOneByteAtATime", kHead + "SOAPAction: x\r\nContent-Length: 100000\r\n\r\n", "<"},
    {"ChunkedBodyOneByteAtATime", kHead + "Transfer-Encoding: chunked\r\n\r\n", "1\r\n<\r\n"},
};

INSTANTIATE_TEST_SUITE_P(EverySlowClient, SlowClients, ::testing::ValuesIn(kSlowCases), caseName);

}  // namespace
}  // namespace tarvine::test
