#include "platform/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace tarvine {
namespace {

std::string sizeText(std::size_t bytes) {
  return bytes >= (std::size_t{1} << 20) ? std::to_string(bytes >> 20) + " MiB"
                                         : std::to_string(bytes) + " bytes";
}

FileReadError unreadable() {
  return FileReadError(std::string("cannot be read: ") + std::strerror(errno));
}

}  // namespace

FileDescriptor::~FileDescriptor() {
  if (fd >= 0) ::close(fd);
}

std::optional<std::string> readRegularFile(const std::string& path, std::size_t maxBytes) {
  const FileDescriptor in(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (in.fd < 0 && errno == ENOENT) return std::nullopt;
  struct stat status {};
  if (in.fd < 0 || ::fstat(in.fd, &status) != 0) throw unreadable();
  if (!S_ISREG(status.st_mode)) throw FileReadError("is not a regular file");
  const FileReadError tooLarge("is larger than " + sizeText(maxBytes));
  if (static_cast<std::uintmax_t>(status.st_size) > maxBytes) throw tooLarge;
  // One byte more than allowed tells a file that grew since fstat().
  std::string text(static_cast<std::size_t>(status.st_size) + 1, '\0');
  std::size_t length = 0;
  while (length <= maxBytes) {
    if (length == text.size()) text.resize(std::min(text.size() * 2, maxBytes + 1));
    const ssize_t n = ::read(in.fd, text.data() + length, text.size() - length);
    if (n == 0) break;
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw unreadable();
    length += static_cast<std::size_t>(n);
  }
  if (length > maxBytes) throw tooLarge;
  text.resize(length);
  return text;
}

}  // namespace tarvine
