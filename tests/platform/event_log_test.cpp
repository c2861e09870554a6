#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"
#include "platform/EventLog.h"

namespace tarvine {
namespace {

namespace fs = std::filesystem;
using test::readText;

// A fresh directory for one test, removed afterwards.
class EventLogFileTest : public testing::Test {
 protected:
  std::string path(const std::string& name) const { return (dir_.path() / name).string(); }

 private:
  test::TemporaryFolder dir_;
};

TEST_F(EventLogFileTest, AppendsEachEntryWithALineBreak) {
  const std::string file = path("events.log");
  test::writeText(file, "earlier\n");
  FileEventLog log(file);
  log.write("Error 13\r\nType mismatch");
  FileEventLog(file).write("");
  log.write("second");
  EXPECT_EQ(readText(file), "earlier\nError 13\r\nType mismatch\n\nsecond\n");
}

TEST_F(EventLogFileTest, ANewFileIsReadableByItsOwnerOnly) {
  const mode_t previous = ::umask(022);
  FileEventLog(path("events.log")).write("entry");
  ::umask(previous);
  struct stat status {};
  ASSERT_EQ(::stat(path("events.log").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);
}

TEST_F(EventLogFileTest, WithoutASyslogSocketEntriesGoToStandardError) {
  const std::string stderrFile = path("stderr");
  const int fd = ::open(stderrFile.c_str(), O_WRONLY | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  SyslogEventLog(path("no-socket"), fd).write("\r\n\r\nError Number - 5");
  ::close(fd);
  EXPECT_EQ(readText(stderrFile), "TarvineOrderPick: \r\n\r\nError Number - 5\n");
}

TEST_F(EventLogFileTest, UnwritableFileDropsTheEntry) {
  FileEventLog log(path("missing/dir/events.log"));
  EXPECT_NO_THROW(log.write("lost"));
  EXPECT_FALSE(fs::exists(path("missing")));
}

// The default log is the file named in the environment, and syslog when none is named.
TEST_F(EventLogFileTest, DefaultLogIsTheFileNamedInTheEnvironment) {
  const std::string file = path("default.log");
  for (const std::optional<std::string>& value :
       {std::optional<std::string>(), std::optional<std::string>("")}) {
    test::ScopedEnvironment variable("TARVINE_EVENT_LOG", value);
    EXPECT_NE(dynamic_cast<SyslogEventLog*>(makeDefaultEventLog().get()), nullptr);
  }
  test::ScopedEnvironment variable("TARVINE_EVENT_LOG", file);
  makeDefaultEventLog()->write("entry");
  EXPECT_EQ(readText(file), "entry\n");
}

TEST(MemoryEventLogTest, KeepsEntriesAndTellsTheObserver) {
  MemoryEventLog log;
  std::vector<std::string> seen;
  log.setObserver([&](const std::string& entry) { seen.push_back(entry); });
  log.write("a\nb");
  log.write("c");
  EXPECT_EQ(log.entries(), (std::vector<std::string>{"a\nb", "c"}));
  EXPECT_EQ(seen, log.entries());
}

}  // namespace
}  // namespace tarvine
