// The registry file itself: bounded reading, an exclusive lock for a whole change, and writing
// that replaces the file in one step.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <thread>

#include <nlohmann/json.hpp>

#include "component/Registry.h"
#include "platform/RegularFile.h"

namespace tarvine::component {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// How long a change waits for another program's change to finish.
constexpr std::chrono::seconds kLockWait{10};

std::string mebibytes(std::size_t bytes) {
  return std::to_string(bytes >> 20) + " MiB";
}

// The whole text of the registry file: a regular file of at most kMaxRegistryBytes; nothing
// when the file does not exist.
std::optional<std::string> readRegistryText(const fs::path& file) {
  try {
    return readRegularFile(file.string(), kMaxRegistryBytes);
  } catch (const FileReadError& error) {
    throw RegistryError("the registry file " + file.string() + " " + error.what());
  }
}

// The file's registry document; nothing when the file does not exist.
std::optional<json> readRegistry(const fs::path& file) {
  const std::optional<std::string> text = readRegistryText(file);
  if (!text) return std::nullopt;
  // The parser itself does not recurse, but everything that walks the document afterwards
  // does; anything nested deeper than the limit is dropped and the file refused.
  bool tooDeep = false;
  const json::parser_callback_t depthLimit = [&tooDeep](int depth, json::parse_event_t event,
                                                        json&) {
    const bool opens =
        event == json::parse_event_t::object_start || event == json::parse_event_t::array_start;
    if (opens && depth >= kMaxRegistryDepth) tooDeep = true;
    return !tooDeep;
  };
  json document = json::parse(*text, depthLimit, false);
  if (tooDeep) {
    throw RegistryError("the registry file " + file.string() + " is nested deeper than " +
                        std::to_string(kMaxRegistryDepth) + " levels");
  }
  if (document.is_discarded() || !document.is_object()) {
    throw RegistryError("the registry file " + file.string() + " is not a JSON object");
  }
  for (const char* group : {"classes", "typelibs"}) {
    if (document.contains(group) && !document[group].is_object()) {
      throw RegistryError("the registry file " + file.string() + " has a \"" + group +
                          "\" entry that is not an object");
    }
  }
  return document;
}

[[noreturn]] void failWrite(const fs::path& file, int error) {
  throw RegistryError("cannot write the registry file " + file.string() + ": " +
                      std::strerror(error));
}

// Writes the document beside the file and renames it over the file, keeping the file's
// permissions when it exists. Refuses a text too large to be read back.
void writeRegistry(const fs::path& file, const json& document) {
  const std::string text = document.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
  if (text.size() > kMaxRegistryBytes) {
    throw RegistryError("cannot write the registry file " + file.string() +
                        ": it would grow past " + mebibytes(kMaxRegistryBytes));
  }
  std::string temporary = file.string() + ".XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) failWrite(file, errno);
  struct stat existing {};
  const mode_t mode = ::stat(file.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0644;
  std::size_t written = 0;
  int failure = ::fchmod(fd, mode) == 0 ? 0 : errno;
  while (failure == 0 && written < text.size()) {
    const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
    if (n < 0 && errno != EINTR) failure = errno;
    if (n > 0) written += static_cast<std::size_t>(n);
  }
  if (failure == 0 && ::fsync(fd) != 0) failure = errno;
  if (::close(fd) != 0 && failure == 0) failure = errno;
  if (failure == 0 && std::rename(temporary.c_str(), file.c_str()) != 0) failure = errno;
  if (failure != 0) {
    ::unlink(temporary.c_str());
    failWrite(file, failure);
  }
}

// Holds an exclusive advisory lock on the registry's lock file for its lifetime; waits up to
// kLockWait for a lock another program holds.
class RegistryLock {
 public:
  explicit RegistryLock(const fs::path& file) : lock_(openLockFile(file)) {
    const auto deadline = std::chrono::steady_clock::now() + kLockWait;
    while (::flock(lock_.fd, LOCK_EX | LOCK_NB) != 0) {
      if (errno == EINTR) continue;
      if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
        throw RegistryError("cannot lock the registry file " + file.string() + ": " +
                            (errno == EWOULDBLOCK ? std::string("another program holds it")
                                                  : std::string(std::strerror(errno))));
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }

 private:
  static int openLockFile(const fs::path& file) {
    const std::string path = file.string() + ".lock";
    const int fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_NOCTTY | O_CLOEXEC, 0644);
    if (fd < 0) failWrite(path, errno);
    return fd;
  }

  FileDescriptor lock_;  // closing it releases the lock
};

// The file a registry path leads to: symbolic links followed, also one to a file not there
// yet, so that a change replaces that file and the link stays a link.
fs::path throughLinks(const fs::path& path) {
  constexpr int kMaxLinks = 40;
  fs::path file = path;
  std::error_code error;
  for (int links = 0; fs::is_symlink(file, error); ++links) {
    if (links == kMaxLinks) failWrite(path, ELOOP);
    const fs::path target = fs::read_symlink(file, error);
    if (error) failWrite(path, error.value());
    file = target.is_absolute() ? target : file.parent_path() / target;
  }
  return file;
}

}  // namespace

void changeRegistry(const fs::path& path, const std::function<bool(json& document)>& change) {
  const fs::path file = throughLinks(path);
  std::error_code error;
  if (file.has_parent_path()) fs::create_directories(file.parent_path(), error);
  if (error) failWrite(file, error.value());
  const RegistryLock lock(file);
  json document = readRegistry(file).value_or(json::object());
  if (!change(document)) return;
  if (!document.empty()) return writeRegistry(file, document);
  fs::remove(file, error);
  if (error) failWrite(file, error.value());
}

}  // namespace tarvine::component
