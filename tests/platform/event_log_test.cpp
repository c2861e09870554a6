#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"
#include "platform/EventLog.h"

namespace tarvine {
namespace {

namespace fs = std::filesystem;
using test::readText;

// The file log appends each entry with a line break, to a new file only its owner may read; a
// file it cannot write drops the entry. The default log is the file named in the environment,
// and syslog when none is named; without a syslog socket entries go to standard error.
TEST(EventLogTest, FileSyslogAndDefault) {
  const test::TemporaryFolder folder;
  const auto path = [&](const char* name) { return (folder.path() / name).string(); };
  const mode_t previous = ::umask(022);
  FileEventLog log(path("events.log"));
  log.write("Error 13\r\nType mismatch");
  ::umask(previous);
  FileEventLog(path("events.log")).write("");
  log.write("second");
  EXPECT_EQ(readText(path("events.log")), "Error 13\r\nType mismatch\n\nsecond\n");
  EXPECT_EQ(fs::status(path("events.log")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write);

  EXPECT_NO_THROW(FileEventLog(path("missing/dir/events.log")).write("lost"));
  EXPECT_FALSE(fs::exists(path("missing")));

  for (const std::optional<std::string>& value :
       {std::optional<std::string>(), std::optional<std::string>("")}) {
    test::ScopedEnvironment variable("TARVINE_EVENT_LOG", value);
    EXPECT_NE(dynamic_cast<SyslogEventLog*>(makeDefaultEventLog().get()), nullptr);
  }
  test::ScopedEnvironment variable("TARVINE_EVENT_LOG", path("default.log"));
  makeDefaultEventLog()->write("entry");
  EXPECT_EQ(readText(path("default.log")), "entry\n");

  const int fd = ::open(path("stderr").c_str(), O_WRONLY | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  SyslogEventLog(path("no-socket"), fd).write("\r\n\r\nError Number - 5");
  ::close(fd);
  EXPECT_EQ(readText(path("stderr")), "TarvineOrderPick: \r\n\r\nError Number - 5\n");
}

}  // namespace
}  // namespace tarvine
