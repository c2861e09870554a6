#include "component/Registry.h"

#include <cstdlib>
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
  changeRegistry(file, [&libraryPath](json& document) {
    const TypeLibraryDesc& library = typeLibrary();
    const std::string version = versionText();
    document["classes"][std::string(library.classId)] = {
        {"name", library.className}, {"progid", library.progId}, {"library", libraryPath},
        {"typelib", library.id},     {"version", version},
    };
    json& versions = document["typelibs"][std::string(library.id)];
    if (!versions.is_object()) versions = json::object();
    versions[version] = {
        {"name", library.name}, {"locale", localeText()}, {"library", libraryPath}};
    return true;
  });
}

void unregisterServer(const fs::path& file) {
  // Nothing to remove, and no folder or lock file to make, when there is no registry.
  std::error_code error;
  if (!fs::exists(file, error) && !error) return;
  changeRegistry(file, [](json& document) {
    const TypeLibraryDesc& library = typeLibrary();
    bool changed = eraseEntry(document, "classes", std::string(library.classId));
    json* typelibs = document.contains("typelibs") ? &document["typelibs"] : nullptr;
    const std::string libraryId(library.id);
    if (typelibs && typelibs->contains(libraryId) && (*typelibs)[libraryId].is_object()) {
      changed = eraseEntry(*typelibs, libraryId, versionText()) || changed;
      if (typelibs->empty()) document.erase("typelibs");
    }
    return changed;
  });
}

}  // namespace tarvine::component
