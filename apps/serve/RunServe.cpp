// `tarvine serve`: the route service as a foreground command.
#include <pthread.h>
#include <signal.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "Backup.h"
#include "RouteService.h"
#include "Schema.h"
#include "SoapNames.h"

namespace tarvine::serve {
namespace {

// A private directory for a database that lives as long as the command.
class TemporaryDirectory {
 public:
  TemporaryDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarvine-serve-XXXXXX");
    if (!mkdtemp(pattern.data())) {
      throw std::runtime_error("cannot create a temporary directory in " +
                               std::filesystem::temp_directory_path().string());
    }
    path_ = pattern;
  }
  ~TemporaryDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Blocks SIGINT and SIGTERM in this thread and in the threads it starts afterwards, so that
// wait() receives them; the previous mask comes back at the end of the scope.
class StopSignals {
 public:
  StopSignals() {
    sigemptyset(&signals_);
    sigaddset(&signals_, SIGINT);
    sigaddset(&signals_, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals_, &previous_);
  }
  ~StopSignals() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // Waits for SIGINT or SIGTERM and returns it.
  int wait() {
    int received = 0;
    while (sigwait(&signals_, &received) != 0) {
    }
    return received;
  }

 private:
  sigset_t signals_{};
  sigset_t previous_{};
};

// Options that do not go together; runServe answers them with exit status 2.
class UsageError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// What parse makes of an option's text; its std::invalid_argument becomes a usage error.
template <typename Parse>
auto parsedOption(const char* option, std::string_view text, Parse parse) {
  try {
    return parse(text);
  } catch (const std::invalid_argument& error) {
    throw UsageError(std::string(option) + ": " + error.what());
  }
}

ServerSettings checkOptions(const ServeOptions& options) {
  if (options.port < 0 || options.port > 65535) {
    throw UsageError("port " + std::to_string(options.port) + " is outside 0 to 65535");
  }
  if (options.segments != 0 && !options.generateLoadId) {
    throw UsageError("--segments needs --generate-load");
  }
  if (!options.backupPath.empty() && options.dbPath.empty()) {
    throw UsageError("--backup needs --db");
  }
  if (options.tlsCert.empty() != options.tlsKey.empty()) {
    throw UsageError("--tls-cert and --tls-key go together");
  }
  ServerSettings settings;
  settings.host = options.host;
  settings.port = options.port;
  settings.tlsCertFile = options.tlsCert;
  settings.tlsKeyFile = options.tlsKey;
  if (!options.allowFrom.empty()) {
    settings.allowFrom = parsedOption("--allow-from", options.allowFrom, AllowList::parse);
  }
  if (!options.serverNames.empty()) {
    settings.serverNames = parsedOption("--server-name", options.serverNames, parseServerNames);
  }
  settings.limits.maxConnectionsPerClient = options.maxConnectionsPerClient;
  if (!isLoopbackHost(options.host) && settings.allowFrom.empty()) {
    throw UsageError("listening on " + options.host +
                     " needs --allow-from CIDR[,CIDR...] naming the networks that may call");
  }
  return settings;
}

int serve(const ServeOptions& options, const ServerSettings& settings, const std::string& dbPath,
          StopSignals& stopSignals) {
  RouteService service(dbPath);
  const LogFormat format = options.logFormat;
  if (service.schemaVersionFound() != kSchemaVersion) {
    logNotice(format, Severity::Info,
              "database " + dbPath + ": schema version " +
                  std::to_string(service.schemaVersionFound()) + ", migrated to " +
                  std::to_string(kSchemaVersion));
  }
  service.setRequestLog(standardErrorLog(format));
  if (options.demo) service.createDemoData();
  if (options.generateLoadId) service.generateLoad(*options.generateLoadId, options.segments);
  service.start(settings);
  std::printf("%s\n", service.baseUrl().c_str());
  std::fflush(stdout);
  if (!isLoopbackHost(settings.host)) {
    logNotice(format, Severity::Warning,
              "the route service has no authentication of its own; anyone in " + options.allowFrom +
                  " can read and change every load");
  }
  logNotice(format, Severity::Info,
            "listening on " + service.baseUrl() + kEndpointPath + ", database " + dbPath +
                "; stop with Ctrl+C");
  const int received = stopSignals.wait();
  service.stop();
  logNotice(format, Severity::Info,
            std::string("stopped on ") + (received == SIGINT ? "SIGINT" : "SIGTERM"));
  return 0;
}

int backup(const ServeOptions& options) {
  const BackupResult result = backupDatabase(options.dbPath, options.backupPath);
  logNotice(options.logFormat, Severity::Info,
            "backed up " + options.dbPath + " to " + options.backupPath + " (schema version " +
                std::to_string(result.schemaVersion) + ", " + std::to_string(result.bytes) +
                " bytes)");
  return 0;
}

}  // namespace

int runServe(const ServeOptions& options) {
  // Blocked from the start, so that a signal during set-up still ends in a clean stop (and the
  // temporary database is removed) instead of killing the process half-way.
  StopSignals stopSignals;
  try {
    const ServerSettings settings = checkOptions(options);
    if (!options.backupPath.empty()) return backup(options);
    if (!options.dbPath.empty()) return serve(options, settings, options.dbPath, stopSignals);
    const TemporaryDirectory directory;
    const std::string dbPath = (directory.path() / "route.db").string();
    logNotice(options.logFormat, Severity::Info,
              "no --db given, using the temporary database " + dbPath + " (removed on exit)");
    return serve(options, settings, dbPath, stopSignals);
  } catch (const UsageError& error) {
    logNotice(options.logFormat, Severity::Error,
              std::string(error.what()) + "; see tarvine serve --help");
    return 2;
  } catch (const std::exception& error) {
    logNotice(options.logFormat, Severity::Error, error.what());
    return 1;
  }
}

}  // namespace tarvine::serve
