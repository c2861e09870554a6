// `tarvine demo` and `tarvine host` in a build without Qt: they say so.

#include <iostream>

#include "WindowRun.h"

namespace tarvine::app {

std::optional<std::string> windowToolkitVersion() {
  return std::nullopt;
}

std::optional<std::string> windowUnavailable(const std::string& command, bool) {
  return "tarvine " + command +
         ": this build has no window (it was configured with -DTARVINE_WITH_QT=OFF).\n"
         "Rebuild with -DTARVINE_WITH_QT=ON, or drive the control without a window with "
         "`tarvine script`.\n";
}

int runHostWindow(const std::string& command, const HostOptions& options) {
  std::cerr << *windowUnavailable(command, !options.screenshot.empty());
  return 1;
}

}  // namespace tarvine::app
