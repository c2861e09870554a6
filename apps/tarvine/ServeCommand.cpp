#include "ServeCommand.h"

namespace tarvine::app {

ServeCommand::ServeCommand(CLI::App& app)
    : command_(app.add_subcommand(
          "serve", "Run the reference route service (loopback unless --allow-from)")) {
  // The options also come from the environment (the systemd unit reads them from
  // /etc/default/tarvine-serve); what the command line gives wins.
  command_
      ->add_option("--host", options_.host,
                   "Address to listen on; other than loopback it needs --allow-from")
      ->capture_default_str()
      ->envname("TARVINE_SERVE_HOST");
  command_->add_option("--port", options_.port, "Port (0 takes any free port)")
      ->capture_default_str()
      ->check(CLI::Range(0, 65535))
      ->envname("TARVINE_SERVE_PORT");
  auto* db =
      command_
          ->add_option(
              "--db", options_.dbPath,
              "SQLite database file, created when missing; an older schema is migrated on start "
              "(default: a temporary file, removed at exit)")
          ->type_name("FILE")
          ->envname("TARVINE_SERVE_DB");
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
  command_
      ->add_option("--allow-from", options_.allowFrom,
                   "Networks that may call, CIDR[,CIDR...] (IPv4 or IPv6); others get 403")
      ->envname("TARVINE_SERVE_ALLOW_FROM");
  command_
      ->add_option("--server-name", options_.serverNames,
                   "Names the Host header may give, NAME[,NAME...]; other names get 421 on "
                   "an address other than loopback (IP addresses and localhost are taken)")
      ->envname("TARVINE_SERVE_SERVER_NAME");
  command_
      ->add_option("--max-connections-per-client", options_.maxConnectionsPerClient,
                   "Connections one client address may hold open at once")
      ->capture_default_str()
      ->check(CLI::Range(1, 512))
      ->envname("TARVINE_SERVE_MAX_CONNECTIONS_PER_CLIENT");
  auto* cert =
      command_
          ->add_option("--tls-cert", options_.tlsCert, "Serve HTTPS with this certificate (PEM)")
          ->check(CLI::ExistingFile)
          ->envname("TARVINE_SERVE_TLS_CERT");
  auto* key = command_->add_option("--tls-key", options_.tlsKey, "Private key of --tls-cert (PEM)")
                  ->check(CLI::ExistingFile)
                  ->envname("TARVINE_SERVE_TLS_KEY");
  cert->needs(key);
  key->needs(cert);
  command_
      ->add_option("--log-format", logFormat_,
                   "One line per request on stderr: text, or json (one JSON object a line)")
      ->check(CLI::IsMember({"text", "json"}))
      ->capture_default_str()
      ->envname("TARVINE_SERVE_LOG_FORMAT");
  command_->footer(
      "Exit status:\n"
      "  0  stopped by SIGINT or SIGTERM, or the backup was written\n"
      "  1  the database cannot be opened or is newer, the address cannot be bound, the TLS "
      "files cannot be loaded, the backup failed\n"
      "  2  a usage error, such as another address than loopback without --allow-from\n\n"
      "Environment:\n"
      "  TARVINE_SERVE_HOST, _PORT, _DB, _ALLOW_FROM, _SERVER_NAME, _MAX_CONNECTIONS_PER_CLIENT,\n"
      "  _LOG_FORMAT, _TLS_CERT, _TLS_KEY\n"
      "                     the value of the option of that name when it is not given\n\n"
      "Files:\n"
      "  /etc/default/tarvine-serve  the settings of the systemd unit tarvine-serve.service\n"
      "  /var/lib/tarvine/route.db   the unit's database (0640, the service's own user and "
      "group); a database it creates elsewhere is 0600\n\n"
      "Examples:\n"
      "  tarvine serve --db route.db --demo\n"
      "  tarvine serve --host 0.0.0.0 --allow-from 10.20.0.0/16 --db route.db --log-format json\n"
      "  tarvine serve --db /var/lib/tarvine/route.db --backup /var/backups/route.db");
}

int ServeCommand::run() {
  if (generateLoad_ != 0) options_.generateLoadId = generateLoad_;
  options_.logFormat = logFormat_ == "json" ? serve::LogFormat::Json : serve::LogFormat::Text;
  return serve::runServe(options_);
}

}  // namespace tarvine::app
