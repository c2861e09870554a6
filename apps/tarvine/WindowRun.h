#pragma once
// The host window of `tarvine demo` and `tarvine host`, behind a face without Qt, so that the
// command line builds with or without the window.

#include <cstdint>
#include <optional>
#include <string>

#include "tools/TrailerLimits.h"

namespace tarvine::app {

// The loads a dispatcher opens: the control takes 16-bit load numbers, and loads are positive.
inline constexpr std::int32_t kLargestLoad = 32767;

// What the host window is told on the command line. Without a server, the window connects
// through the saved profile named `profile`, or through the Connect dialog when none is named.
struct HostOptions {
  std::string profile;   // a saved connection profile
  std::string server;    // scheme and host of the route service, e.g. http://127.0.0.1:8080
  std::string facility;  // facility id
  std::string personId;  // person id and person type, as the control takes them
  std::string personType;
  std::optional<std::int32_t> load;  // the load to show at once
  std::string screenshot;            // when not empty: write a PNG of the window here and exit
  std::optional<tools::TrailerLimits> limits;  // the trailer's limits; none: no gauges
};

// Why the window cannot open for `tarvine COMMAND` (this build has no window, or there is no
// display and no screenshot was asked for), with how to run it instead; nothing when it can.
std::optional<std::string> windowUnavailable(const std::string& command, bool screenshot);

// The window toolkit this build runs on, e.g. "Qt 6.4.2"; nothing in a build without the window.
std::optional<std::string> windowToolkitVersion();

// Opens the host window with the control set up from the options (or from the profile or the
// Connect dialog) and runs it until it is closed, or writes the screenshot and returns (of the
// Connect dialog when it would open). Returns the exit status: 0 when closed, or when the
// dialog was cancelled; 1 for a failure written to stderr, among them a screenshot whose load
// could not be shown whole; 2 for a profile that is not saved.
int runHostWindow(const std::string& command, const HostOptions& options);

}  // namespace tarvine::app
