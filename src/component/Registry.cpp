#include "component/Registry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>

#include <nlohmann/json.hpp>

#include "component/TypeDescription.h"

namespace tarvine::component {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

const char* environment(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? value : nullptr;
}

std::string versionText() {
  const TypeLibraryDesc& library = typeLibrary();
  return std::to_string(library.majorVersion) + "." + std::to_string(library.minorVersion);
}

std::string localeText() {
  std::ostringstream text;
  text << "0x" << std::hex << typeLibrary().locale;
  return text.str();
}

// The file's registry document; nothing when the file does not exist.
std::optional<json> readRegistry(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::error_code error;
    if (!fs::exists(file, error) && !error) return std::nullopt;
    throw RegistryError("cannot read the registry file " + file.string());
  }
  std::ostringstream content;
  content << in.rdbuf();
  json document = json::parse(content.str(), nullptr, false);
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
// permissions when it exists.
void writeRegistry(const fs::path& file, const json& document) {
  std::error_code error;
  if (file.has_parent_path()) fs::create_directories(file.parent_path(), error);
  if (error) failWrite(file, error.value());
  std::string temporary = file.string() + ".XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) failWrite(file, errno);
  struct stat existing {};
  const mode_t mode = ::stat(file.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0644;
  const std::string text = document.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
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

// Removes key from the group and the group when that leaves it empty; true when key was there.
bool eraseEntry(json& document, const std::string& group, const std::string& key) {
  if (!document.contains(group) || !document[group].contains(key)) return false;
  document[group].erase(key);
  if (document[group].empty()) document.erase(group);
  return true;
}

}  // namespace

fs::path registryPath() {
  if (const char* path = environment("TARVINE_REGISTRY")) return path;
  fs::path dataHome;
  const char* xdg = environment("XDG_DATA_HOME");
  if (xdg && fs::path(xdg).is_absolute()) {
    dataHome = xdg;
  } else if (const char* home = environment("HOME")) {
    dataHome = fs::path(home) / ".local" / "share";
  } else {
    throw RegistryError("neither TARVINE_REGISTRY, XDG_DATA_HOME nor HOME is set");
  }
  return dataHome / "tarvine" / "registry.json";
}

void registerServer(const fs::path& file, const std::string& libraryPath) {
  json document = readRegistry(file).value_or(json::object());
  const TypeLibraryDesc& library = typeLibrary();
  const std::string version = versionText();
  document["classes"][std::string(library.classId)] = {
      {"name", library.className}, {"progid", library.progId}, {"library", libraryPath},
      {"typelib", library.id},     {"version", version},
  };
  json& versions = document["typelibs"][std::string(library.id)];
  if (!versions.is_object()) versions = json::object();
  versions[version] = {{"name", library.name}, {"locale", localeText()}, {"library", libraryPath}};
  writeRegistry(file, document);
}

void unregisterServer(const fs::path& file) {
  std::optional<json> document = readRegistry(file);
  if (!document) return;
  const TypeLibraryDesc& library = typeLibrary();
  bool changed = eraseEntry(*document, "classes", std::string(library.classId));
  json* typelibs = document->contains("typelibs") ? &(*document)["typelibs"] : nullptr;
  const std::string libraryId(library.id);
  if (typelibs && typelibs->contains(libraryId) && (*typelibs)[libraryId].is_object()) {
    changed = eraseEntry(*typelibs, libraryId, versionText()) || changed;
    if (typelibs->empty()) document->erase("typelibs");
  }
  if (!changed) return;
  if (!document->empty()) return writeRegistry(file, *document);
  std::error_code error;
  fs::remove(file, error);
  if (error) failWrite(file, error.value());
}

}  // namespace tarvine::component
