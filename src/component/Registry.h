#pragma once
// The per-user registry of in-process components: a JSON file that records which library
// serves the control class and its type library, so that hosts can find it by identifier.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include <nlohmann/json_fwd.hpp>

namespace tarvine::component {

// The registry file cannot be read as a registry, or cannot be written.
class RegistryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// TARVINE_REGISTRY when set and not empty; else registry.json in "tarvine" under the user's
// data directory ($XDG_DATA_HOME when absolute, else ~/.local/share). Throws RegistryError when
// there is no home directory to use.
std::filesystem::path registryPath();

// The largest registry file read or written, and the deepest nesting of objects and arrays in it.
inline constexpr std::size_t kMaxRegistryBytes = std::size_t{1} << 20;
inline constexpr int kMaxRegistryDepth = 64;

// Changes the registry document under an exclusive lock on the file's lock file (the file's
// name followed by ".lock", left in place); a symbolic link is followed to the file it names,
// which is changed in its place (the link stays), so programs changing it at the same time lose
// nothing; waits up to 10 s for another program's change to end. `change` gets the document (an
// empty object when there is no file) and returns whether it changed it; a changed document is
// written back, or the file deleted when the document is left empty. Throws RegistryError when the
// lock cannot be had, when the file is not a regular file, is larger than kMaxRegistryBytes, is
// nested deeper than kMaxRegistryDepth, is not a JSON object with object groups, or cannot be
// written (also when the new text would be too large to read back); the file is then unchanged.
void changeRegistry(const std::filesystem::path& file,
                    const std::function<bool(nlohmann::json& document)>& change);

// Records the control class (identifier, name, program id, library path, type library and
// version) and the type library (identifier, version, name, locale, library path), keeping
// every other entry. Creates the file and its folders when missing; the file is replaced in
// one step (written beside it, then renamed), through changeRegistry(). Throws RegistryError;
// the file is then unchanged.
void registerServer(const std::filesystem::path& file, const std::string& libraryPath);

// Removes exactly the two entries registerServer() writes, and any group left empty by that; a
// file left with nothing in it is deleted, a file without the entries is not touched (nor is
// anything made when there is no file). Throws RegistryError; the file is then unchanged.
void unregisterServer(const std::filesystem::path& file);

}  // namespace tarvine::component
