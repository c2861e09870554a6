#pragma once
// What the handles of the C interface are, and the bookkeeping its entry points share.

#include <cstdint>
#include <exception>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "component/HostedControl.h"
#include "tarvine/tarvine_order_pick.h"

struct tarvine_control {
  tarvine::component::HostedControl host;
};

struct tarvine_class_factory {
  char unused = 0;
};

struct tarvine_text_out {
  std::optional<std::string> text;
};

namespace tarvine::component::capi {

// Counts a live control or class object (DllCanUnloadNow answers from the count).
void objectCreated();
void objectDestroyed();

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
