#pragma once
// What the handles of the C interface are, and the bookkeeping its entry points share.

#include <cstdint>
#include <exception>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "component/HostedControl.h"
#include "tarvine/tarvine_order_pick.h"

struct tarvine_text_out {
  std::optional<std::string> text;
};

namespace tarvine::component::capi {

// The handles given out and not yet taken back. A handle is a number, never given out twice
// (tarvine_control and tarvine_class_factory stay incomplete types), so a handle that was
// destroyed, released or never given out is told apart from a live one. Any thread.

// A new control under a new handle. Throws std::bad_alloc.
tarvine_control* addControl();
// The control of a live handle, or the code for one that is not (the last error says which):
// TARVINE_E_POINTER for null, TARVINE_E_HANDLE for any other.
struct FoundControl {
  HostedControl* host;
  std::int32_t code;
};
FoundControl findControl(tarvine_control* handle);
// Takes a live control out of the table; its handle is dead from then on.
std::unique_ptr<HostedControl> removeControl(tarvine_control* handle);
// A new class object's handle; whether one is live; takes one back (nothing for one not live).
tarvine_class_factory* addFactory();
bool factoryLive(tarvine_class_factory* handle);
void removeFactory(tarvine_class_factory* handle);
// The number of live controls and class objects (DllCanUnloadNow answers from it).
std::size_t liveObjects();

// Remembers the description of the failure tarvine_last_error() gives on this thread.
void setLastError(std::string text);

// A copy of the text in memory from malloc, for tarvine_free_string(); null when out of memory.
char* copyText(std::string_view text);

// Runs body and returns its code; an escaping exception becomes TARVINE_E_OUTOFMEMORY or
// TARVINE_E_UNEXPECTED, with its text as the last error. Nothing is thrown past it.
template <typename Body>
std::int32_t guarded(Body&& body) noexcept {
  try {
    setLastError({});
    return body();
  } catch (const std::bad_alloc&) {
    try {
      setLastError("out of memory");
    } catch (...) {
    }
    return TARVINE_E_OUTOFMEMORY;
  } catch (const std::exception& error) {
    try {
      setLastError(error.what());
    } catch (...) {
    }
  } catch (...) {
  }
  return TARVINE_E_UNEXPECTED;
}

}  // namespace tarvine::component::capi
