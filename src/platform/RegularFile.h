#pragma once
// Reading a whole file that someone else names (a script's envelope file, the registry file):
// only a regular file, never waiting on a FIFO or a device, and never more than a limit.

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>

namespace tarvine {

// Closes a file descriptor (negative: none) at the end of the scope.
struct FileDescriptor {
  int fd;
  explicit FileDescriptor(int value) : fd(value) {}
  ~FileDescriptor();
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
};

// Why a file could not be read; what() goes after the file's name: "is not a regular file", "is
// larger than 16 MiB" or "cannot be read: " and the system's message.
class FileReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The content of the regular file at path, at most maxBytes long; nothing when no file has the
// path. Opens without blocking (a FIFO without a writer is refused at once, not waited for) and
// reads no more than maxBytes + 1 bytes whatever the file claims. Throws FileReadError.
std::optional<std::string> readRegularFile(const std::string& path, std::size_t maxBytes);

}  // namespace tarvine
