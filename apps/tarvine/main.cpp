// `tarvine`: the command line of TarvineOrderPick.

#include <CLI/CLI.hpp>

#include "DemoCommand.h"
#include "HostCommand.h"
#include "ScriptCommand.h"
#include "ServeCommand.h"
#include "SheetCommand.h"
#include "UsageError.h"
#include "Version.h"

int main(int argc, char** argv) {
  CLI::App app{"TarvineOrderPick: order picking for outgoing truck loads", "tarvine"};
  app.require_subcommand(1);
  app.set_version_flag("-V,--version", tarvine::app::versionText,
                       "Print the version of tarvine and of the libraries it runs on, then exit");
  tarvine::app::ScriptCommand script(app);
  tarvine::app::ServeCommand serve(app);
  tarvine::app::DemoCommand demo(app);
  tarvine::app::HostCommand host(app);
  tarvine::app::SheetCommand sheet(app);
  // Set after the commands, which would take it over otherwise.
  app.footer(
      "Run `tarvine COMMAND --help` for the options of a command.\n\n"
      "Exit status:\n"
      "  0  success\n"
      "  1  a run-time failure (a file, the database, the network, no display); the reason is "
      "on standard error\n"
      "  2  a usage error (an unknown command or option, a missing or bad value, a script line "
      "that cannot be run)\n\n"
      "Environment:\n"
      "  TARVINE_EVENT_LOG  a file that receives the event log entries instead of syslog\n"
      "  XDG_DATA_HOME      where `tarvine demo` keeps its database (tarvine/demo.db)");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return tarvine::app::answerParseError(app, error);
  }
  if (script.parsed()) return script.run();
  if (serve.parsed()) return serve.run();
  if (demo.parsed()) return demo.run();
  if (host.parsed()) return host.run();
  if (sheet.parsed()) return sheet.run();
  return 0;
}
