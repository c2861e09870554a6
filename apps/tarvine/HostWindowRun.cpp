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

// Points the options at the connection of a profile.
void useConnection(HostOptions& options, const qt::ConnectionProfile& connection) {
  options.profile = connection.name;
  options.server = connection.server;
  options.facility = connection.facility;
  options.personId = connection.personId;
  options.personType = connection.personType;
}

// The saved profile that --profile names, into the options; or the exit status of a profile
// that is not saved, a usage error that names the saved ones.
std::optional<int> takeProfile(const std::string& command, HostOptions& options) {
  const std::optional<qt::ConnectionProfile> saved = qt::savedProfile(options.profile);
  if (!saved) {
    QStringList names;
    for (const qt::ConnectionProfile& profile : qt::savedProfiles()) {
      names << QString::fromStdString(profile.name);
    }
    const std::string list =
        names.isEmpty() ? "none" : names.join(QStringLiteral(", ")).toStdString();
    return reportUsageError(
        "tarvine " + command,
        "no connection profile is saved as '" + options.profile + "' (saved: " + list + ")",
        "tarvine " + command + " without --profile, whose Connect dialog saves profiles");
  }
  qt::saveProfile(*saved);
  useConnection(options, *saved);
  return std::nullopt;
}

// The connection the dispatcher chooses in the Connect dialog, into the options; or the exit
// status when the window is not to open: the dialog cancelled, or drawn into the screenshot.
std::optional<int> chooseConnection(const std::string& command, HostOptions& options) {
  qt::ConnectDialog dialog;
  if (!options.screenshot.empty()) {
    dialog.setAttribute(Qt::WA_DontShowOnScreen);
    dialog.show();
    QCoreApplication::processEvents();
    const QString path = QString::fromStdString(options.screenshot);
    return saveImage(dialog.grab().save(path, "PNG"), command, options.screenshot) ? 0 : 1;
  }
  if (dialog.exec() != QDialog::Accepted) return 0;
  useConnection(options, dialog.profile());
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
  HostOptions options = given;
  if (options.server.empty() && !options.profile.empty()) {
    if (const std::optional<int> status = takeProfile(command, options)) return *status;
  }
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
    if (options.server.empty()) {
      if (const std::optional<int> status = chooseConnection(command, options)) return *status;
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
