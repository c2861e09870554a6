// The window of `tarvine demo` and `tarvine host` on Qt: checks for a display before Qt is
// started, and opens the host window or writes its screenshot.

#include <QApplication>
#include <cstdlib>
#include <iostream>
#include <stdexcept>

#include "HostWindow.h"
#include "WindowRun.h"

namespace tarvine::app {
namespace {

bool isSet(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

bool hasDisplay() {
  return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY");
}

}  // namespace

std::optional<std::string> windowToolkitVersion() {
  return std::string("Qt ") + qVersion();
}

std::optional<std::string> windowUnavailable(const std::string& command, bool screenshot) {
  if (screenshot || hasDisplay() || isSet("QT_QPA_PLATFORM")) return std::nullopt;
  return "tarvine " + command +
         ": there is no display to open the window on (DISPLAY and WAYLAND_DISPLAY are not "
         "set).\n"
         "Run it in a desktop session, or under a virtual display:\n"
         "  xvfb-run -a tarvine " +
         command +
         " ...\n"
         "or write a picture of the window without any display:\n"
         "  tarvine " +
         command + " ... --screenshot window.png\n";
}

int runHostWindow(const std::string& command, const HostOptions& options) {
  const bool screenshot = !options.screenshot.empty();
  if (auto why = windowUnavailable(command, screenshot)) {
    std::cerr << *why;
    return 1;
  }
  // A screenshot needs no display: Qt draws offscreen then.
  if (screenshot && !hasDisplay() && !isSet("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  static int argc = 1;
  static char name[] = "tarvine";
  static char* argv[] = {name, nullptr};
  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(kProductName));
  try {
    HostWindow window(options, screenshot);
    if (screenshot) window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    if (options.load) window.openLoad(*options.load);
    if (screenshot) {
      if (window.saveScreenshot(QString::fromStdString(options.screenshot))) return 0;
      std::cerr << "tarvine " << command << ": cannot write " << options.screenshot << '\n';
      return 1;
    }
    return QApplication::exec();
  } catch (const std::exception& error) {
    std::cerr << "tarvine " << command << ": " << error.what() << '\n';
    return 1;
  }
}

}  // namespace tarvine::app
