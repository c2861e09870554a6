#include "DemoCommand.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "DemoData.h"
#include "RouteService.h"
#include "WindowRun.h"

namespace tarvine::app {

std::string demoDatabasePath() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  std::filesystem::path base;
  if (dataHome && std::filesystem::path(dataHome).is_absolute()) {
    base = dataHome;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
      throw std::runtime_error(
          "neither XDG_DATA_HOME nor HOME is set; give the database with --db");
    }
    base = std::filesystem::path(home) / ".local" / "share";
  }
  return (base / "tarvine" / "demo.db").string();
}

DemoCommand::DemoCommand(CLI::App& app)
    : command_(app.add_subcommand("demo",
                                  "Open the picking window on the demo load, with the "
                                  "reference route service on loopback")),
      load_(serve::kDemoLoad) {
  command_
      ->add_option("--db", dbPath_,
                   "Demo database, created on first use (default: "
                   "$XDG_DATA_HOME/tarvine/demo.db, or ~/.local/share/tarvine/demo.db)")
      ->type_name("FILE");
  command_->add_option("--load", load_, "Load to show")
      ->capture_default_str()
      ->check(CLI::Range(1, kLargestLoad));
  command_
      ->add_option("--screenshot", screenshot_,
                   "Write a PNG of the window once the load is shown, then exit")
      ->type_name("FILE");
  addLimitOptions(*command_, limits_);
  command_->footer(
      "Exit status:\n"
      "  0  the window was closed; with --screenshot, the picture was written\n"
      "  1  no display, or the demo database or the picture cannot be written\n"
      "  2  a usage error\n\n"
      "Environment:\n"
      "  XDG_DATA_HOME  where the demo database lives (tarvine/demo.db)\n\n"
      "Files:\n"
      "  ~/.local/share/tarvine/demo.db  the demo database, created on first use\n\n"
      "Examples:\n"
      "  tarvine demo\n"
      "  tarvine demo --max-weight 45000 --max-cube 3400 --screenshot demo.png");
}

int DemoCommand::run() {
  if (auto why = windowUnavailable("demo", !screenshot_.empty())) {
    std::cerr << *why;
    return 1;
  }
  try {
    const std::string path = dbPath_.empty() ? demoDatabasePath() : dbPath_;
    serve::openDemoDatabase(path);
    serve::RouteService service(path);
    service.setRequestLog(nullptr);
    service.start("127.0.0.1", 0);
    HostOptions options;
    options.server = service.baseUrl();
    options.facility = serve::kDemoFacility;
    options.personId = "7";
    options.personType = "2";
    options.load = load_;
    options.screenshot = screenshot_;
    options.limits = givenLimits(limits_);
    const int status = runHostWindow("demo", options);
    service.stop();
    return status;
  } catch (const std::exception& error) {
    std::cerr << "tarvine demo: " << error.what() << '\n';
    return 1;
  }
}

}  // namespace tarvine::app
