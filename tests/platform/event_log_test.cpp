#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/EventLog.h"

namespace tarvine {
namespace {

namespace fs = std::filesystem;

// A fresh directory for one test, removed afterwards.
class EventLogFileTest : public testing::Test {
 protected:
  EventLogFileTest() {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() /
           ("tarvine_event_log_" + std::to_string(::getpid()) + "_" + info->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  ~EventLogFileTest() override { fs::remove_all(dir_); }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  static std::string contents(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

 private:
  fs::path dir_;
};

TEST_F(EventLogFileTest, AppendsEachEntryWithALineBreak) {
  const std::string file = path("events.log");
  {
    std::ofstream existing(file);
    existing << "earlier\n";
  }
  FileEventLog log(file);
  log.write("Error 13\r\nType mismatch");
  FileEventLog(file).write("");
  log.write("second");
  EXPECT_EQ(contents(file), "earlier\nError 13\r\nType mismatch\n\nsecond\n");
}

TEST_F(EventLogFileTest, UnwritableFileDropsTheEntry) {
  FileEventLog log(path("missing/dir/events.log"));
  EXPECT_NO_THROW(log.write("lost"));
  EXPECT_FALSE(fs::exists(path("missing")));
}

// Sets TARVINE_EVENT_LOG for one scope and restores the earlier value.
class EventLogVariable {
 public:
  explicit EventLogVariable(const char* value) {
    if (const char* old = std::getenv(kName)) old_ = old;
    if (value) {
      ::setenv(kName, value, 1);
    } else {
      ::unsetenv(kName);
    }
  }
  ~EventLogVariable() {
    if (old_) {
      ::setenv(kName, old_->c_str(), 1);
    } else {
      ::unsetenv(kName);
    }
  }

 private:
  static constexpr const char* kName = "TARVINE_EVENT_LOG";
  std::optional<std::string> old_;
};

TEST_F(EventLogFileTest, DefaultLogIsTheFileNamedInTheEnvironment) {
  const std::string file = path("default.log");
  EventLogVariable variable(file.c_str());
  auto log = makeDefaultEventLog();
  ASSERT_NE(dynamic_cast<FileEventLog*>(log.get()), nullptr);
  log->write("entry");
  EXPECT_EQ(contents(file), "entry\n");
}

TEST(DefaultEventLogTest, EmptyOrMissingVariableGivesSyslog) {
  for (const char* value : {static_cast<const char*>(nullptr), ""}) {
    EventLogVariable variable(value);
    EXPECT_NE(dynamic_cast<SyslogEventLog*>(makeDefaultEventLog().get()), nullptr);
  }
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
