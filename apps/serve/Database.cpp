#include "Database.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <fstream>

namespace tarvine::serve {
namespace {

// Long enough for a writer to finish a save of a full load while others wait.
constexpr int kBusyTimeoutMs = 10000;

[[noreturn]] void fail(sqlite3* db, std::string_view what) {
  throw DatabaseError(std::string(what) + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

// The process's umask, read without changing it (umask() would, for every thread at once).
mode_t currentUmask() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("Umask:", 0) == 0)
      return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
  }
  return 022;
}

// Creates a missing database file readable by its owner alone (0600), or by its group too
// (0640) when the umask shuts everyone else out, as the systemd unit's does: SQLite would
// create it readable by whoever the umask lets read. The journal and write-ahead log files
// take their mode from it.
void createPrivately(const std::string& path) {
  const mode_t mask = currentUmask();
  const mode_t mode = (mask & 007) == 007 ? (0640 & ~mask) : (0600 & ~mask);
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
  if (fd >= 0) ::close(fd);
}

}  // namespace

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db) {
  if (sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                         &stmt_, nullptr) != SQLITE_OK) {
    fail(db, "cannot prepare statement");
  }
}

Statement::~Statement() {
  sqlite3_finalize(stmt_);
}

Statement& Statement::bind(int index, std::int64_t value) {
  if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) fail(db_, "cannot bind");
  return *this;
}

Statement& Statement::bind(int index, double value) {
  if (sqlite3_bind_double(stmt_, index, value) != SQLITE_OK) fail(db_, "cannot bind");
  return *this;
}

Statement& Statement::bind(int index, std::string_view value) {
  if (sqlite3_bind_text64(stmt_, index, value.data(), value.size(), SQLITE_TRANSIENT,
                          SQLITE_UTF8) != SQLITE_OK) {
    fail(db_, "cannot bind");
  }
  return *this;
}

Statement& Statement::bindNull(int index) {
  if (sqlite3_bind_null(stmt_, index) != SQLITE_OK) fail(db_, "cannot bind");
  return *this;
}

bool Statement::step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  fail(db_, "statement failed");
}

bool Statement::hasRow() {
  const bool found = step();
  reset();
  return found;
}

void Statement::run() {
  while (step()) {
  }
}

void Statement::reset() noexcept {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

bool Statement::isNull(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

std::int64_t Statement::integer(int column) const {
  return sqlite3_column_int64(stmt_, column);
}

double Statement::real(int column) const {
  return sqlite3_column_double(stmt_, column);
}

std::string_view Statement::text(int column) const {
  const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  if (!data) return {};
  return {data, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))};
}

Database::Database(const std::string& path, OpenMode mode) : path_(path) {
  // SQLite's in-memory and temporary databases (":memory:", "") are no files of ours.
  if (mode == OpenMode::ReadWrite && !path.empty() && path[0] != ':') createPrivately(path);
  const int flags = mode == OpenMode::ReadOnly ? SQLITE_OPEN_READONLY
                                               : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  if (sqlite3_open_v2(path.c_str(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
    const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    throw DatabaseError("cannot open database " + path + ": " + message);
  }
  sqlite3_extended_result_codes(db_, 1);

  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  try {
    execute("PRAGMA foreign_keys = ON");
  } catch (...) {
    sqlite3_close(db_);
    throw;
  }
}

Database::~Database() {
  statements_.clear();
  sqlite3_close(db_);
}

void Database::execute(std::string_view sql) {
  const std::string text(sql);
  char* message = nullptr;
  if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string error = message ? message : sqlite3_errmsg(db_);
    sqlite3_free(message);
    throw DatabaseError(error);
  }
}

Statement& Database::prepare(const std::string& sql) {
  auto found = statements_.find(sql);
  if (found == statements_.end()) {
    found = statements_.emplace(sql, std::make_unique<Statement>(db_, sql)).first;
  }
  found->second->reset();
  return *found->second;
}

void Database::resetStatements() noexcept {
  for (auto& entry : statements_) entry.second->reset();
}

int Database::changes() const {
  return sqlite3_changes(db_);
}

void Database::backupTo(Database& destination) {
  sqlite3_backup* backup = sqlite3_backup_init(destination.db_, "main", db_, "main");
  if (!backup) fail(destination.db_, "cannot start the backup");
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
  int rc = SQLITE_OK;
  // -1: every page under one read transaction. Busy or locked: a writer holds a lock for a
  // moment; try again.
  while ((rc = sqlite3_backup_step(backup, -1)) == SQLITE_BUSY || rc == SQLITE_LOCKED) {
    if (std::chrono::steady_clock::now() >= deadline) break;
    sqlite3_sleep(20);
  }
  sqlite3_backup_finish(backup);
  if (rc != SQLITE_DONE) {
    throw DatabaseError(std::string("the backup failed: ") + sqlite3_errstr(rc));
  }
}

Transaction::Transaction(Database& db) : db_(db) {
  db_.execute("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
  if (done_) return;
  try {
    db_.execute("ROLLBACK");
  } catch (const DatabaseError&) {
    // Nothing to undo when SQLite already rolled back by itself.
  }
}

void Transaction::commit() {
  db_.execute("COMMIT");
  done_ = true;
}

}  // namespace tarvine::serve
