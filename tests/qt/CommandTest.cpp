// `tarvine demo` and `tarvine host` as a user runs them: a screenshot without any display, and
// a clear word instead of a crash when there is no display to open the window on.

#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/wait.h>

#include <QColor>
#include <QImage>
#include <array>
#include <filesystem>
#include <string>

#include "QtTestSupport.h"

namespace tarvine::qt::test {
namespace {

struct Outcome {
  int status = -1;
  std::string output;
};

// Runs the tarvine command with the arguments, without any display, with its data and event
// log in the directory; stops it after two minutes at most.
Outcome runTarvine(const TempDir& dir, const std::string& arguments) {
  const std::string line = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_DATA_HOME='" +
                           dir.path().string() + "' TARVINE_EVENT_LOG='" +
                           (dir.path() / "events.log").string() + "' timeout 120 '" +
                           TARVINE_BINARY + "' " + arguments + " 2>&1";
  Outcome outcome;
  FILE* pipe = popen(line.c_str(), "r");
  if (!pipe) return outcome;
  std::array<char, 4096> buffer{};
  while (fgets(buffer.data(), buffer.size(), pipe)) outcome.output += buffer.data();
  const int status = pclose(pipe);
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
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

TEST(DemoCommand, WritesAScreenshotOfTheDemoLoadWithoutADisplay) {
  TempDir dir;
  const std::filesystem::path shot = dir.path() / "demo.png";
  const Outcome outcome = runTarvine(dir, "demo --screenshot '" + shot.string() + "'");
  ASSERT_EQ(outcome.status, 0) << outcome.output;
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "tarvine" / "demo.db"));
  const QImage image(QString::fromStdString(shot.string()));
  ASSERT_FALSE(image.isNull());
  // The whole control, plus the load bar and the status bar.
  EXPECT_GE(image.width(), 588);
  EXPECT_GT(image.height(), 497);
  EXPECT_GT(bluePixels(image), 100) << "the rows on the load are not drawn";
}

TEST(DemoCommand, WithoutADisplaySaysHowToRunIt) {
  TempDir dir;
  const Outcome outcome = runTarvine(dir, "demo");
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.output.find("xvfb-run -a tarvine demo"), std::string::npos) << outcome.output;
  EXPECT_NE(outcome.output.find("--screenshot"), std::string::npos) << outcome.output;
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "tarvine" / "demo.db"));
}

TEST(HostCommand, AScreenshotNeverWaitsForAPersonToCloseAMessage) {
  TempDir dir;
  const std::filesystem::path shot = dir.path() / "host.png";
  // Nothing listens on the discard port: every service call fails and is reported.
  const Outcome outcome =
      runTarvine(dir,
                 "host --server http://127.0.0.1:9 --facility DEMO --person 7 2 --load 5001 "
                 "--screenshot '" +
                     shot.string() + "'");
  EXPECT_EQ(outcome.status, 0) << outcome.output;
  EXPECT_NE(outcome.output.find("message box: An application error has occured"), std::string::npos)
      << outcome.output;
  EXPECT_TRUE(std::filesystem::exists(shot));
}

TEST(HostCommand, DrawsTheWindowAgainstAnyRouteService) {
  DemoService service;
  TempDir dir;
  const std::filesystem::path shot = dir.path() / "host.png";
  const Outcome outcome = runTarvine(
      dir, "host --server " + service.server() +
               " --facility DEMO --person 7 2 --load 5001 --screenshot '" + shot.string() + "'");
  ASSERT_EQ(outcome.status, 0) << outcome.output;
  const QImage image(QString::fromStdString(shot.string()));
  ASSERT_FALSE(image.isNull());
  EXPECT_GT(bluePixels(image), 100);
}

}  // namespace
}  // namespace tarvine::qt::test
