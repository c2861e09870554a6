#pragma once
// The --person option of the commands that open a control: the person id and person type, two
// 16-bit numbers as the control takes them.

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

namespace tarvine::app {

// The help's "Environment:" paragraph of the commands that run a control: what changes how it
// reaches the route service and where its event log goes.
inline constexpr const char* kControlEnvironmentHelp =
    "Environment:\n"
    "  TARVINE_EVENT_LOG  a file that receives the event log entries instead of syslog\n"
    "  TARVINE_NO_PROXY   1: reach the route service directly, ignoring the proxy variables\n"
    "  http_proxy, https_proxy, ALL_PROXY, no_proxy\n"
    "                     the proxy between the control and the route service (it sees every "
    "load)\n"
    "  CURL_CA_BUNDLE     the certificate authorities trusted for https (default: the "
    "system's)\n";

// Adds the option --person ID TYPE to the command; a value that is not a 16-bit number is a
// usage error. Returns the option.
CLI::Option* addPersonOption(CLI::App& command, std::vector<std::string>& person);

}  // namespace tarvine::app
