#pragma once
// The application event log: syslog by default, a file when TARVINE_EVENT_LOG names one, or
// memory for tests and the script host.

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tarvine {

class EventLog {
 public:
  virtual ~EventLog() = default;
  // Writes one entry. Never throws: an entry that cannot be written is dropped.
  virtual void write(const std::string& entry) = 0;
};

// Entries go to syslog with identity "TarvineOrderPick", facility user, level info. Where no
// syslog daemon has its socket (socketPath is not a socket, as in most containers), each entry
// goes to fallbackFd instead (standard error), as "TarvineOrderPick: " and the entry and a line
// break.
class SyslogEventLog : public EventLog {
 public:
  explicit SyslogEventLog(std::string socketPath = "/dev/log", int fallbackFd = 2)
      : socketPath_(std::move(socketPath)), fallbackFd_(fallbackFd) {}
  void write(const std::string& entry) override;

 private:
  std::string socketPath_;
  int fallbackFd_;
};

// Entries are appended to a file, each followed by a line break. A missing file is created
// readable and writable by its owner only (0600, as the entries may hold server texts); an
// existing file keeps its permissions.
class FileEventLog : public EventLog {
 public:
  explicit FileEventLog(std::string path) : path_(std::move(path)) {}
  void write(const std::string& entry) override;

 private:
  std::string path_;
};

// Entries are kept in memory; an optional observer sees each one as it is written.
class MemoryEventLog : public EventLog {
 public:
  void write(const std::string& entry) override;
  const std::vector<std::string>& entries() const { return entries_; }
  void setObserver(std::function<void(const std::string&)> observer) {
    observer_ = std::move(observer);
  }

 private:
  std::vector<std::string> entries_;
  std::function<void(const std::string&)> observer_;
};

// A FileEventLog when the environment variable TARVINE_EVENT_LOG is set and not empty, else a
// SyslogEventLog.
std::unique_ptr<EventLog> makeDefaultEventLog();

}  // namespace tarvine
