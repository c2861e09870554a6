// `tarvine`: the command line of TarvineOrderPick.

#include <CLI/CLI.hpp>

#include "DemoCommand.h"
#include "HostCommand.h"
#include "PersonOption.h"
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
      "that cannot be run)\n\n" +
      std::string(tarvine::app::kControlEnvironmentHelp) +
      "  TARVINE_REGISTRY   the component registry of the C interface (default: "
      "~/.local/share/tarvine/registry.json)\n"
      "  XDG_DATA_HOME      where `tarvine demo` keeps its database (tarvine/demo.db)\n"
      "  XDG_CONFIG_HOME    where `tarvine host` keeps its profiles "
      "(TarvineOrderPick/host.conf)\n\n"
      "Files:\n"
      "  ~/.local/share/tarvine/demo.db          the demo database\n"
      "  ~/.local/share/tarvine/registry.json    the component registry\n"
      "  ~/.config/TarvineOrderPick/host.conf    connection profiles and the window's place\n"
      "  /var/lib/tarvine/route.db               the route service's database (systemd unit)\n"
      "  /etc/default/tarvine-serve              the route service's settings (systemd unit)\n"
      "  syslog, identity TarvineOrderPick       the event log, unless TARVINE_EVENT_LOG\n\n"
      "Examples:\n"
      "  tarvine demo\n"
      "  tarvine host --profile Night --load 5001\n"
      "  tarvine serve --db route.db --demo\n"
      "  tarvine script examples/demo.tvs");

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
