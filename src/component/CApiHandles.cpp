// The table of live handles behind the C interface.

#include <map>
#include <mutex>
#include <set>

#include "component/CApiObjects.h"

namespace tarvine::component::capi {
namespace {

// Handles are multiples of 16 from here on, so that they look like the addresses hosts expect
// and a small integer passed by mistake is never live.
constexpr std::uintptr_t kFirstHandle = 0x10000;

std::mutex tableMutex;
std::uintptr_t nextHandle = kFirstHandle;
std::map<std::uintptr_t, std::unique_ptr<HostedControl>> controls;
std::set<std::uintptr_t> factories;

std::uintptr_t newHandle() {
  const std::uintptr_t handle = nextHandle;
  nextHandle += 16;
  return handle;
}

template <typename Handle>
std::uintptr_t key(Handle* handle) {
  return reinterpret_cast<std::uintptr_t>(handle);
}

}  // namespace

tarvine_control* addControl() {
  auto control = std::make_unique<HostedControl>();
  const std::lock_guard lock(tableMutex);
  const std::uintptr_t handle = newHandle();
  controls.emplace(handle, std::move(control));
  return reinterpret_cast<tarvine_control*>(handle);
}

FoundControl findControl(tarvine_control* handle) {
  if (!handle) {
    setLastError("Invalid pointer: no control");
    return {nullptr, TARVINE_E_POINTER};
  }
  {
    const std::lock_guard lock(tableMutex);
    if (const auto found = controls.find(key(handle)); found != controls.end()) {
      return {found->second.get(), TARVINE_S_OK};
    }
  }
  setLastError("the control handle is not live: it was destroyed or never created");
  return {nullptr, TARVINE_E_HANDLE};
}

std::unique_ptr<HostedControl> removeControl(tarvine_control* handle) {
  const std::lock_guard lock(tableMutex);
  const auto found = controls.find(key(handle));
  if (found == controls.end()) return nullptr;
  std::unique_ptr<HostedControl> control = std::move(found->second);
  controls.erase(found);
  return control;
}

tarvine_class_factory* addFactory() {
  const std::lock_guard lock(tableMutex);
  const std::uintptr_t handle = newHandle();
  factories.insert(handle);
  return reinterpret_cast<tarvine_class_factory*>(handle);
}

bool factoryLive(tarvine_class_factory* handle) {
  const std::lock_guard lock(tableMutex);
  return factories.contains(key(handle));
}

void removeFactory(tarvine_class_factory* handle) {
  const std::lock_guard lock(tableMutex);
  factories.erase(key(handle));
}

std::size_t liveObjects() {
  const std::lock_guard lock(tableMutex);
  return controls.size() + factories.size();
}

}  // namespace tarvine::component::capi
