// `tarvine demo` and `tarvine host` as a user runs them: a screenshot without any display, and
// a clear word instead of a crash when there is no display to open the window on.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <filesystem>
#include <string>

#include "QtTestSupport.h"

namespace tarvine::qt::test {
namespace {

namespace fs = std::filesystem;

// Runs the tarvine command with the arguments, without any display, with its data and event
// log in the directory; stops it after two minutes at most.
std::pair<int, std::string> runTarvine(const TempDir& dir, const std::string& arguments) {
  return runCommand("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_DATA_HOME='" +
                    dir.path().string() + "' TARVINE_EVENT_LOG='" +
                    (dir.path() / "events.log").string() + "' timeout 120 '" + TARVINE_BINARY +
                    "' " + arguments);
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

// The demo with its own data, and a host against a route service, draw the load without a
// display: the whole control, plus the load bar and the status bar.
TEST(Screenshots, ShowTheRowsOnTheLoadWithoutADisplay) {
  DemoService service;
  const std::string host = "host --server " + service.server() + " --facility DEMO --person 7 2";
  for (const std::string& command : {std::string("demo"), host + " --load 5001"}) {
    SCOPED_TRACE(command);
    TempDir dir;
    const fs::path shot = dir.path() / "shot.png";
    const auto [status, output] =
        runTarvine(dir, command + " --screenshot '" + shot.string() + "'");
    ASSERT_EQ(status, 0) << output;
    EXPECT_EQ(fs::exists(dir.path() / "tarvine" / "demo.db"), command == "demo");
    const QImage image(QString::fromStdString(shot.string()));
    EXPECT_GE(image.width(), 588);
    EXPECT_GT(image.height(), 497);
    EXPECT_GT(bluePixels(image), 100) << "the rows on the load are not drawn";
  }
}

TEST(DemoCommand, WithoutADisplaySaysHowToRunIt) {
  TempDir dir;
  const auto [status, output] = runTarvine(dir, "demo");
  EXPECT_EQ(status, 1);
  EXPECT_NE(output.find("xvfb-run -a tarvine demo"), std::string::npos) << output;
  EXPECT_NE(output.find("--screenshot"), std::string::npos) << output;
  EXPECT_FALSE(fs::exists(dir.path() / "tarvine" / "demo.db"));
}

// Nothing listens on the discard port: every service call fails and is reported.
TEST(HostCommand, AScreenshotNeverWaitsForAPersonToCloseAMessage) {
  TempDir dir;
  const fs::path shot = dir.path() / "host.png";
  const auto [status, output] =
      runTarvine(dir,
                 "host --server http://127.0.0.1:9 --facility DEMO --person 7 2 --load 5001 "
                 "--screenshot '" +
                     shot.string() + "'");
  EXPECT_EQ(status, 0) << output;
  EXPECT_NE(output.find("message box: An application error has occured"), std::string::npos)
      << output;
  EXPECT_TRUE(fs::exists(shot));
}

}  // namespace
}  // namespace tarvine::qt::test
