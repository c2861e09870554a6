#pragma once
// What a host may hand a control: its own message box, input box, astray form and event log.
// Each one left empty keeps the default of the script host and the platform.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/Dialogs.h"
#include "platform/EventLog.h"

namespace tarvine::component {

struct HostCallbacks {
  // Shows a message box; returns the button pressed. No title means the application's name.
  std::function<int(const std::string& prompt, int buttons,
                    const std::optional<std::string>& title)>
      messageBox;
  // Shows an input box; returns the answer, or nothing when cancelled.
  std::function<std::optional<std::string>(const std::string& prompt, const std::string& title,
                                           const std::string& defaultText)>
      inputBox;
  // While the astray form is shown: the next command line for it, or nothing to close it.
  std::function<std::optional<std::string>(const std::string& caption)> formLine;
  // Writes one event log entry.
  std::function<void(const std::string& entry)> eventLog;
};

// The error reports shown during a host call: how many, and the first one.
struct ErrorReports {
  int count = 0;
  std::optional<RuntimeError> first;
};

// Dialogs that ask the host's callbacks first and fall back to the script host's recording
// dialogs (OK for messages, queued answers for input boxes, script lines for the form).
class HostDialogs : public Dialogs {
 public:
  HostDialogs(RecordingDialogs& script, const HostCallbacks& callbacks)
      : script_(script), callbacks_(callbacks) {}

  int messageBox(const std::string& prompt, int buttons,
                 const std::optional<std::string>& title) override;
  std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override;
  // Marks the form as shown (with its lines from the host when it gave a form callback) and
  // hands it to the script host, which runs it until it is closed.
  void showModal(Screen& form) override;
  // Counts the report, then shows its box as messageBox() does.
  void errorBox(const std::string& prompt, const RuntimeError& error,
                std::string_view procedure) override;

  // The reports counted since the last clearReports().
  const ErrorReports& reports() const { return reports_; }
  void clearReports() { reports_ = {}; }

  // The form being shown, or null.
  Screen* shownForm() const { return shownForm_; }
  // True while a form is shown whose lines the host's form callback gives.
  bool formLinesFromHost() const { return shownForm_ && formFromHost_; }

 private:
  RecordingDialogs& script_;
  const HostCallbacks& callbacks_;
  Screen* shownForm_ = nullptr;
  bool formFromHost_ = false;
  ErrorReports reports_;
};

// An event log that writes to the host's callback, or to the platform's default log (syslog,
// or the file TARVINE_EVENT_LOG names) when there is none; while a script runs, every entry is
// also written to the script's log, which reports it as a JSON line.
class HostEventLog : public EventLog {
 public:
  HostEventLog(MemoryEventLog& script, const HostCallbacks& callbacks, const bool& scriptRunning)
      : script_(script), callbacks_(callbacks), scriptRunning_(scriptRunning) {}
  void write(const std::string& entry) override;

 private:
  MemoryEventLog& script_;
  const HostCallbacks& callbacks_;
  const bool& scriptRunning_;
  std::unique_ptr<EventLog> defaultLog_;
};

}  // namespace tarvine::component
