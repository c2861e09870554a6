// The window of `tarvine demo` and `tarvine host` on Qt: checks for a display before Qt is
// started, connects through a saved profile or the Connect dialog when no server was given, and
// opens the host window or writes its screenshot.

#include <QApplication>
#include <QStringList>
#include <cstdlib>
#include <iostream>
#include <stdexcept>

#include "ConnectDialog.h"
#include "HostWindow.h"
#include "UsageError.h"
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

// Writes the window's picture; false after saying so when the file cannot be written.
bool saveImage(bool written, const std::string& command, const std::string& path) {
  if (!written) std::cerr << "tarvine " << command << ": cannot write " << path << '\n';
  return written;
}

// The saved profile that --profile names, or the one the dispatcher connects with in the
// Connect dialog, into the options; or the exit status when the window is not to open: the
// dialog cancelled or drawn into the screenshot, or a profile that is not saved.
std::optional<int> connectFirst(const std::string& command, HostOptions& options) {
  std::optional<qt::ConnectionProfile> chosen;
  if (!options.profile.empty()) {
    chosen = qt::savedProfile(options.profile);
    if (!chosen) {
      QStringList names;
      for (const qt::ConnectionProfile& saved : qt::savedProfiles()) {
        names << QString::fromStdString(saved.name);
      }
      return reportUsageError(
          "tarvine " + command,
          "no connection profile is saved as '" + options.profile + "' (saved: " +
              (names.isEmpty() ? std::string("none")
                               : names.join(QStringLiteral(", ")).toStdString()) +
              ")",
          "tarvine " + command + " without --profile, whose Connect dialog saves profiles");
    }
    qt::saveProfile(*chosen);
  } else {
    qt::ConnectDialog dialog;
    if (!options.screenshot.empty()) {
      dialog.setAttribute(Qt::WA_DontShowOnScreen);
      dialog.show();
      QCoreApplication::processEvents();
      const QString path = QString::fromStdString(options.screenshot);
      return saveImage(dialog.grab().save(path, "PNG"), command, options.screenshot) ? 0 : 1;
    }
    if (dialog.exec() != QDialog::Accepted) return 0;
    chosen = dialog.profile();
  }
  options.profile = chosen->name;
  options.server = chosen->server;
  options.facility = chosen->facility;
  options.personId = chosen->personId;
  options.personType = chosen->personType;
  return std::nullopt;
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

int runHostWindow(const std::string& command, const HostOptions& given) {
  const bool screenshot = !given.screenshot.empty();
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
    HostOptions options = given;
    if (options.server.empty()) {
      if (const std::optional<int> status = connectFirst(command, options)) return *status;
    }
    HostWindow window(options, screenshot);
    if (screenshot) window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    const bool shown = !options.load || window.openLoad(*options.load);
    if (!screenshot) return QApplication::exec();
    const QString path = QString::fromStdString(options.screenshot);
    if (!saveImage(window.saveScreenshot(path), command, options.screenshot)) return 1;
    if (shown) return 0;
    std::cerr << "tarvine " << command << ": load " << *options.load
              << " could not be read whole from the route service (the reasons are above)\n";
    return 1;
  } catch (const std::exception& error) {
    std::cerr << "tarvine " << command << ": " << error.what() << '\n';
    return 1;
  }
}

}  // namespace tarvine::app
