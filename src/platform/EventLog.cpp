#include "platform/EventLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <syslog.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>

namespace tarvine {

namespace {

// Writes all parts completely, retrying short writes; false when the file refuses them.
bool writeAll(int fd, iovec* parts, int count) {
  while (count > 0) {
    const ssize_t written = ::writev(fd, parts, count);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    auto left = static_cast<std::size_t>(written);
    while (count > 0 && left >= parts->iov_len) {
      left -= parts->iov_len;
      ++parts;
      --count;
    }
    if (count > 0) {
      parts->iov_base = static_cast<char*>(parts->iov_base) + left;
      parts->iov_len -= left;
    }
  }
  return true;
}

}  // namespace

void SyslogEventLog::write(const std::string& entry) {
  struct stat status {};
  if (::stat(socketPath_.c_str(), &status) != 0 || !S_ISSOCK(status.st_mode)) {
    char prefix[] = "TarvineOrderPick: ";
    char lineBreak = '\n';
    iovec parts[3] = {{prefix, sizeof prefix - 1},
                      {const_cast<char*>(entry.data()), entry.size()},
                      {&lineBreak, 1}};
    writeAll(fallbackFd_, parts, 3);
    return;
  }
  static std::once_flag opened;
  std::call_once(opened, [] { ::openlog("TarvineOrderPick", LOG_PID, LOG_USER); });
  ::syslog(LOG_INFO, "%s", entry.c_str());
}

void FileEventLog::write(const std::string& entry) {
  const int fd = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return;
  char lineBreak = '\n';
  // One writev keeps the entry and its line break together when several writers share the file.
  iovec parts[2] = {{const_cast<char*>(entry.data()), entry.size()}, {&lineBreak, 1}};
  writeAll(fd, parts, 2);
  ::close(fd);
}

void MemoryEventLog::write(const std::string& entry) {
  entries_.push_back(entry);
  if (observer_) observer_(entry);
}

std::unique_ptr<EventLog> makeDefaultEventLog() {
  const char* path = std::getenv("TARVINE_EVENT_LOG");
  if (path != nullptr && *path != '\0') return std::make_unique<FileEventLog>(path);
  return std::make_unique<SyslogEventLog>();
}

}  // namespace tarvine
