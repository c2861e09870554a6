#pragma once
// One control as a host embeds it: the control, the script host that drives it, the host's
// callbacks in front of the script's dialogs and log, and the dispatch face the astray form
// calls back through.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "component/Dispatch.h"
#include "component/HostCallbacks.h"
#include "component/Variant.h"
#include "script/ScriptHost.h"

namespace tarvine::component {

class HostedControl {
 public:
  // Receives the JSON lines of a script run, one call per line.
  using LineSink = std::function<void(const std::string& line)>;

  // Creates the control with default callbacks. Throws std::bad_alloc only.
  HostedControl();
  ~HostedControl();
  HostedControl(const HostedControl&) = delete;
  HostedControl& operator=(const HostedControl&) = delete;

  // Replaces all callbacks; empty ones take the defaults.
  void setCallbacks(HostCallbacks callbacks) { callbacks_ = std::move(callbacks); }

  // A call on the dispatch interface (see invoke() in Dispatch.h). Throws DispatchError.
  Variant invoke(std::int32_t dispatchId, std::span<const Variant> args);
  Variant invokeByName(std::string_view name, std::span<const Variant> args);

  // Runs the lines of text (split at line breaks; a CR before the break is dropped) with the
  // script host, sending its JSON lines to sink. While the astray form is shown its lines come
  // from the host's form callback when there is one, else from the text. Returns 0, or 2 after
  // a line that could not be run. Throws std::logic_error when a script already runs on it.
  int runScript(std::string_view text, const LineSink& sink);

  // The state object (the script's "state" line) as JSON text; it shows the astray form while
  // the form is shown.
  std::string stateJson();

  // Runs body as a call of this control: busy() while it runs, its dialogs forgotten after.
  void asCall(const std::function<void()>& body);
  // The dispatcher's tools on the control.
  script::ToolCommands& tools() { return script_.tools(); }

  // True while a call or script run of this control is in progress (from inside a callback).
  bool busy() const { return depth_ > 0; }
  // The error reports shown by the last call or script run (so far, while one runs).
  const ErrorReports& reports() const { return dialogs_->reports(); }

  OrderPick& control() { return script_.control(); }
  // The face the astray form reaches the control through.
  const DispatchFace& formFace() const { return *formFace_; }

 private:
  // Counts a call in progress for busy(), forgets the reports of the last call when it starts
  // and the dialogs recorded during it when it ends.
  class CallScope;

  HostCallbacks callbacks_;
  bool scriptRunning_ = false;
  int depth_ = 0;
  LineSink sink_;
  std::unique_ptr<HostDialogs> dialogs_;
  std::unique_ptr<HostEventLog> log_;
  std::unique_ptr<DispatchFace> formFace_;
  script::ScriptHost script_;  // last: the control goes before what it uses
};

}  // namespace tarvine::component
