#include "ServeCommand.h"

namespace tarvine::app {

ServeCommand::ServeCommand(CLI::App& app)
    : command_(app.add_subcommand(
          "serve", "Run the reference route service (on loopback unless --host says otherwise)")) {
  command_->add_option("--host", options_.host, "Address to listen on")->capture_default_str();
  command_->add_option("--port", options_.port, "Port (0 takes any free port)")
      ->capture_default_str()
      ->check(CLI::Range(0, 65535));
  auto* db =
      command_
          ->add_option(
              "--db", options_.dbPath,
              "SQLite database file, created when missing; an older schema is migrated on start "
              "(default: a temporary file, removed at exit)")
          ->type_name("FILE");
  auto* demo =
      command_->add_flag("--demo", options_.demo, "Create or open the demo data (load 5001, DEMO)");
  auto* generate =
      command_
          ->add_option("--generate-load", generateLoad_, "Add a load with this id for benchmarks")
          ->check(CLI::Range(1, 32767));
  command_->add_option("--segments", options_.segments, "Segments of the generated load")
      ->check(CLI::Range(1, 32767))
      ->needs(generate);
  generate->needs("--segments");
  command_
      ->add_option("--backup", options_.backupPath,
                   "Copy the database given with --db to FILE while services may be using it, "
                   "then exit instead of serving")
      ->type_name("FILE")
      ->needs(db)
      ->excludes(demo)
      ->excludes(generate);
}

int ServeCommand::run() {
  if (generateLoad_ != 0) options_.generateLoadId = generateLoad_;
  return serve::runServe(options_);
}

}  // namespace tarvine::app
