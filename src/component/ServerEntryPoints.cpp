// The in-process server entry points: self-registration, class objects and unloading.

#include <dlfcn.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "component/CApiObjects.h"
#include "component/Registry.h"
#include "component/TypeDescription.h"

namespace tarvine::component::capi {
namespace {

std::atomic<long> serverLocks{0};
thread_local std::string lastError;

// An object inside this library, whose address tells dladdr() which file the library is.
const char kLibraryAnchor = 0;

std::string libraryPath() {
  Dl_info info{};
  if (dladdr(&kLibraryAnchor, &info) == 0 || !info.dli_fname) {
    throw RegistryError("cannot find the path of the component library");
  }
  std::error_code error;
  const std::filesystem::path path = std::filesystem::canonical(info.dli_fname, error);
  return error ? std::string(info.dli_fname) : path.string();
}

// Runs a registry change; a registry failure gives TARVINE_SELFREG_E_CLASS.
template <typename Change>
std::int32_t registryChange(Change&& change) {
  return guarded([&]() -> std::int32_t {
    try {
      change(registryPath());
      return TARVINE_S_OK;
    } catch (const RegistryError& error) {
      setLastError(error.what());
      return TARVINE_SELFREG_E_CLASS;
    }
  });
}

}  // namespace

void setLastError(std::string text) {
  lastError = std::move(text);
}

char* copyText(std::string_view text) {
  auto* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (!copy) return nullptr;
  if (!text.empty()) std::memcpy(copy, text.data(), text.size());
  copy[text.size()] = '\0';
  return copy;
}

}  // namespace tarvine::component::capi

using namespace tarvine::component;
using namespace tarvine::component::capi;

extern "C" {

int32_t DllRegisterServer(void) {
  return registryChange(
      [](const std::filesystem::path& file) { registerServer(file, libraryPath()); });
}

int32_t DllUnregisterServer(void) {
  return registryChange([](const std::filesystem::path& file) { unregisterServer(file); });
}

int32_t DllGetClassObject(const char* class_id, tarvine_class_factory** factory) {
  return guarded([&]() -> std::int32_t {
    if (!factory) return TARVINE_E_POINTER;
    *factory = nullptr;
    if (!class_id) return TARVINE_E_POINTER;
    if (!isClassId(class_id)) {
      setLastError("no class has the identifier " + std::string(class_id));
      return TARVINE_CLASS_E_CLASSNOTAVAILABLE;
    }
    *factory = addFactory();
    return TARVINE_S_OK;
  });
}

int32_t DllCanUnloadNow(void) {
  return liveObjects() == 0 && serverLocks == 0 ? TARVINE_S_OK : TARVINE_S_FALSE;
}

int32_t tarvine_factory_create_instance(tarvine_class_factory* factory, tarvine_control** control) {
  if (!factory || !factoryLive(factory)) {
    if (control) *control = nullptr;
    return factory ? TARVINE_E_HANDLE : TARVINE_E_POINTER;
  }
  return tarvine_create(control);
}

int32_t tarvine_factory_lock_server(tarvine_class_factory* factory, int32_t lock) {
  if (!factory) return TARVINE_E_POINTER;
  if (!factoryLive(factory)) return TARVINE_E_HANDLE;
  if (lock) {
    ++serverLocks;
    return TARVINE_S_OK;
  }
  long locks = serverLocks.load();
  while (locks > 0 && !serverLocks.compare_exchange_weak(locks, locks - 1)) {
  }
  return locks > 0 ? TARVINE_S_OK : TARVINE_E_UNEXPECTED;
}

void tarvine_factory_release(tarvine_class_factory* factory) {
  if (factory) removeFactory(factory);
}

const char* tarvine_last_error(void) {
  return lastError.c_str();
}

}  // extern "C"
