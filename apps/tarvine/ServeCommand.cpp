#include "ServeCommand.h"

namespace tarvine::app {

ServeCommand::ServeCommand(CLI::App& app)
    : command_(app.add_subcommand(
          "serve", "Run the reference route service (loopback unless --allow-from)")) {
  command_
      ->add_option("--host", options_.host,
                   "Address to listen on; other than loopback it needs --allow-from")
      ->capture_default_str();
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
  command_->add_option("--allow-from", options_.allowFrom,
                       "Networks that may call, CIDR[,CIDR...] (IPv4 or IPv6); others get 403");
  command_->add_option("--server-name", options_.serverNames,
                       "Names the Host header may give, NAME[,NAME...]; other names get 421 on "
                       "an address other than loopback (IP addresses and localhost are taken)");
  command_
      ->add_option("--max-connections-per-client", options_.maxConnectionsPerClient,
                   "Connections one client address may hold open at once")
      ->capture_default_str()
      ->check(CLI::Range(1, 512));
  auto* cert =
      command_
          ->add_option("--tls-cert", options_.tlsCert, "Serve HTTPS with this certificate (PEM)")
          ->check(CLI::ExistingFile);
  auto* key = command_->add_option("--tls-key", options_.tlsKey, "Private key of --tls-cert (PEM)")
                  ->check(CLI::ExistingFile);
  cert->needs(key);
  key->needs(cert);
  command_
      ->add_option("--log-format", logFormat_,
                   "One line per request on stderr: text, or json (one JSON object a line)")
      ->check(CLI::IsMember({"text", "json"}))
      ->capture_default_str();
}

int ServeCommand::run() {
  if (generateLoad_ != 0) options_.generateLoadId = generateLoad_;
  options_.logFormat = logFormat_ == "json" ? serve::LogFormat::Json : serve::LogFormat::Text;
  return serve::runServe(options_);
}

}  // namespace tarvine::app
