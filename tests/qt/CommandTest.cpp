// `tarvine demo` and `tarvine host` as a user runs them: a screenshot without any display, and
// a clear word instead of a crash when there is no display to open the window on; a saved
// connection profile by name.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QSettings>
#include <filesystem>
#include <fstream>
#include <string>

#include "ConnectionProfiles.h"
#include "QtTestSupport.h"

namespace tarvine::qt::test {
namespace {

namespace fs = std::filesystem;

// Runs the tarvine command with the arguments, without any display, with its data and event
// log in the directory; stops it after two minutes at most.
std::pair<int, std::string> runTarvine(const TempDir& dir, const std::string& arguments) {
  return runCommand("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_DATA_HOME='" +
                    dir.path().string() + "' XDG_CONFIG_HOME='" + dir.path().string() +
                    "' TARVINE_EVENT_LOG='" + (dir.path() / "events.log").string() +
                    "' timeout 120 '" + TARVINE_BINARY + "' " + arguments);
}

// Pixels of the blue that the list gives the rows already on the load.
int bluePixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor pixel = image.pixelColor(x, y);
      if (pixel.blue() > 200 && pixel.red() < 90 && pixel.green() < 90) ++count;
    }
  }
  return count;
}

struct CommandCase {
  const char* name;
  std::string arguments;  // "--screenshot FILE" is added when `shot` is set
  bool shot;
  int status;
  const char* said;  // part of what it printed
  int bluePixels;    // at least, in the screenshot: the rows on the load
};

// The demo with its own data, and a host against a route service (named, or through a saved
// profile), draw the load without a display; without a display the demo says how to run it; a
// host whose every call fails never waits for a person and exits 1; an unknown profile is a
// usage error that names the saved ones.
TEST(Commands, RunWithoutADisplay) {
  DemoService service;
  const std::string host = "host --facility DEMO --person 7 2 --load 5001 --server ";
  const CommandCase cases[] = {
      {"demo screenshot", "demo", true, 0, "", 100},
      {"host screenshot", host + service.server(), true, 0, "", 100},
      {"demo on no display", "demo", false, 1, "xvfb-run -a tarvine demo", 0},
      {"host of nothing", host + "http://127.0.0.1:9", true, 1,
       "message box: An application error has occured", 0},
      {"host by profile", "host --profile Night --load 5001", true, 0, "", 100},
      {"unknown profile", "host --profile Day", false, 2, "(saved: Night)", 0}};
  for (const CommandCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(dir.path().string()));
    saveProfile({"Night", service.server(), "DEMO", "7", "2"});
    const fs::path shot = dir.path() / "shot.png";
    const auto [status, output] =
        runTarvine(dir, c.arguments + (c.shot ? " --screenshot '" + shot.string() + "'" : ""));
    EXPECT_EQ(status, c.status) << output;
    EXPECT_NE(output.find(c.said), std::string::npos) << output;
    EXPECT_EQ(fs::exists(dir.path() / "tarvine" / "demo.db"), c.shot && c.arguments == "demo");
    if (!c.shot) {
      if (c.status == 1) {
        EXPECT_NE(output.find("--screenshot"), std::string::npos) << output;
      }
      continue;
    }
    const QImage image(QString::fromStdString(shot.string()));
    EXPECT_GE(image.width(), 588);
    EXPECT_GT(image.height(), 497);
    EXPECT_GE(bluePixels(image), c.bluePixels) << "the rows on the load are not drawn";
  }
}

// `tarvine sheet`: written, or one line on why not with exit 1 and the file left as it was.
TEST(Commands, SheetExitsAsItsHelpSays) {
  DemoService service;
  const std::string sheet = "sheet --facility DEMO --person 7 2 --server ";
  const struct {
    std::string arguments;  // the file is added
    const char* folder;     // of the file written, in the test's folder
    int status;
    const char* said;
  } cases[] = {
      {sheet + service.server() + " --load 5001 --csv", "", 0, "24 segments in 4 centers"},
      {sheet + service.server() + " --load 4242 --csv", "", 1, "load 4242 has no segments on it"},
      {sheet + "http://127.0.0.1:9 --load 5001 --pdf", "", 1, "load 5001 could not be read ("},
      {sheet + service.server() + " --load 5001 --csv", "missing/", 1, "cannot write"},
      {sheet + service.server() + " --load 0 --csv", "", 2, "--load"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    TempDir dir;
    const fs::path file = dir.path() / "sheet";
    std::ofstream(file) << "kept";
    const auto [status, output] =
        runTarvine(dir, c.arguments + " '" + (dir.path() / c.folder / "sheet").string() + "'");
    EXPECT_EQ(status, c.status) << output;
    EXPECT_NE(output.find(c.said), std::string::npos) << output;
    std::ifstream written(file);
    const std::string start(std::istreambuf_iterator<char>(written), {});
    EXPECT_EQ(start.starts_with("Manifest,5001"), c.status == 0) << start.substr(0, 40);
    if (c.status == 1) {
      EXPECT_EQ(output.find('\n'), output.size() - 1) << output;
    }
  }
}

}  // namespace
}  // namespace tarvine::qt::test
