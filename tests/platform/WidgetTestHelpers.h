#pragma once
// The widget and list view tests write every step they take and every signal it raised into one
// transcript, compared whole with a golden file.

#include <functional>
#include <sstream>
#include <string>

#include "platform/RuntimeError.h"
#include "platform/Signal.h"

namespace tarvine {

struct Transcript {
  std::ostringstream out;
  // Writes "  NAME" and the signal's arguments each time the signal is raised.
  template <typename... Args>
  void watch(const std::string& name, Signal<Args...>& signal) {
    signal.connect([this, name](Args... args) {
      out << "  " << name;
      ((out << ' ' << args), ...);
      out << '\n';
    });
  }
  // Writes the step, then runs it; a run-time error it raises is written as "error N".
  void step(const std::string& what, const std::function<void()>& action) {
    out << what << '\n';
    try {
      action();
    } catch (const RuntimeError& error) {
      out << "  error " << error.number() << '\n';
    }
  }
};

}  // namespace tarvine
