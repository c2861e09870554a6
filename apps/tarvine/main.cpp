// `tarvine`: the command line of TarvineOrderPick.

#include <CLI/CLI.hpp>

#include "DemoCommand.h"
#include "HostCommand.h"
#include "ScriptCommand.h"
#include "ServeCommand.h"
#include "SheetCommand.h"

int main(int argc, char** argv) {
  CLI::App app{"TarvineOrderPick: order picking for outgoing truck loads"};
  app.require_subcommand(1);

  std::string scriptPath;
  auto* script = app.add_subcommand("script", "Drive one control with text commands, no window");
  script->add_option("FILE", scriptPath, "Script file (standard input when absent or -)");

  tarvine::app::ServeCommand serve(app);
  tarvine::app::DemoCommand demo(app);
  tarvine::app::HostCommand host(app);
  tarvine::app::SheetCommand sheet(app);

  CLI11_PARSE(app, argc, argv);
  if (script->parsed()) return tarvine::app::runScriptCommand(scriptPath);
  if (serve.parsed()) return serve.run();
  if (demo.parsed()) return demo.run();
  if (host.parsed()) return host.run();
  if (sheet.parsed()) return sheet.run();
  return 0;
}
