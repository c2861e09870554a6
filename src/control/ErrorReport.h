#pragma once
// The one way errors are reported: a message box for the user, the details in the event log.

#include <string>
#include <string_view>

#include "platform/Dialogs.h"
#include "platform/EventLog.h"
#include "platform/RuntimeError.h"

namespace tarvine {

inline constexpr std::string_view kControlProjectLine = "Project Associated - TarvineOrderPick";
inline constexpr std::string_view kFormProjectLine =
    "Project Associated - TarvineOrderPick (frmAstray)";
inline constexpr std::string_view kErrorPrompt =
    "An application error has occured. Please check the error logs";

// The event log entry for an error: two line breaks, number, description, source and procedure,
// the additional information when there is any, and the project line (CR LF between lines).
// Control characters in the description, source and additional information (texts that may
// come from a server) are written as visible escapes, so they cannot break or forge lines.
std::string errorLogEntry(const RuntimeError& error, std::string_view procedure,
                          std::string_view additional, std::string_view projectLine);

// Shows the error prompt (OK button, information icon, no title) through Dialogs::errorBox,
// then writes the log entry.
void reportError(Dialogs& dialogs, EventLog& log, const RuntimeError& error,
                 std::string_view procedure, std::string_view additional,
                 std::string_view projectLine);

// The one prompt that stands for `count` reports alike (same number, source and procedure) of
// one user action: the usual prompt for one, else "4 requests to the route service failed:
// Couldn't connect to server" (failed exchanges) or "The same error was reported 3 times: ...".
std::string gatheredErrorPrompt(const RuntimeError& first, std::string_view procedure, int count);

// Runs body; a run-time error (or any other exception, turned into one) goes to report with
// the procedure name, and trapped() returns false. Returns true when body finished.
template <typename Body, typename Report>
bool trapped(std::string_view procedure, Body&& body, Report&& report);

// Turns the exception being handled into a run-time error: RuntimeError as it is, bad_alloc as
// 7 "Out of memory", anything else as 51 "Internal error" with its text.
RuntimeError currentError();

template <typename Body, typename Report>
bool trapped(std::string_view procedure, Body&& body, Report&& report) {
  try {
    body();
    return true;
  } catch (...) {
    report(currentError(), procedure);
    return false;
  }
}

}  // namespace tarvine
