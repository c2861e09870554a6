#pragma once
// Small helpers shared by the widget, list view and dialog tests.

#include <cstdint>

#include "platform/RuntimeError.h"
#include "platform/Signal.h"

namespace tarvine {

// Counts how often a parameterless signal was raised.
struct Counter {
  int count = 0;
  void watch(Signal<>& signal) {
    signal.connect([this] { ++count; });
  }
};

// Runs the action; returns the number of the RuntimeError it threw, 0 when it threw none.
template <typename F>
std::int32_t errorNumberOf(F&& action) {
  try {
    action();
  } catch (const RuntimeError& error) {
    return error.number();
  }
  return 0;
}

}  // namespace tarvine
