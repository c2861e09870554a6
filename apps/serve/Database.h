// A small RAII layer over one SQLite connection: prepared statements, transactions, errors.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace tarvine::serve {

// Raised for every SQLite failure; what() carries SQLite's own message.
class DatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One prepared statement. Bind indexes start at 1, column indexes at 0.
class Statement {
 public:
  // Prepares sql on db; throws DatabaseError when it does not compile.
  Statement(sqlite3* db, std::string_view sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Binds an integer; throws DatabaseError on a bad index.
  Statement& bind(int index, std::int64_t value);
  // Binds a floating point value; throws DatabaseError on a bad index.
  Statement& bind(int index, double value);
  // Binds a text (copied); throws DatabaseError on a bad index.
  Statement& bind(int index, std::string_view value);
  // Binds NULL; throws DatabaseError on a bad index.
  Statement& bindNull(int index);
  // Steps once: true while a row is available, false when done; throws DatabaseError on failure.
  bool step();
  // Steps once and resets: true when the query has at least one row; throws DatabaseError.
  bool hasRow();
  // Runs a statement that returns no rows; throws DatabaseError on failure.
  void run();
  // Resets the statement and clears its bindings so that it can run again. Never fails.
  void reset() noexcept;

  // True when the column of the current row is NULL.
  bool isNull(int column) const;
  // The column of the current row as an integer (0 for NULL).
  std::int64_t integer(int column) const;
  // The column of the current row as a floating point value (0 for NULL).
  double real(int column) const;
  // The column of the current row as text (empty for NULL).
  std::string_view text(int column) const;

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

// How a connection opens its file.
enum class OpenMode { ReadWrite, ReadOnly };

// One connection. Not for use by two threads at once; keeps its prepared statements.
class Database {
 public:
  // Opens (and for ReadWrite creates) the file, with foreign keys on and a busy timeout;
  // throws DatabaseError when the file cannot be opened.
  explicit Database(const std::string& path, OpenMode mode = OpenMode::ReadWrite);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Runs one or more statements without parameters; throws DatabaseError on failure.
  void execute(std::string_view sql);
  // The cached prepared statement for sql, reset and unbound; throws DatabaseError.
  Statement& prepare(const std::string& sql);
  // Resets every cached statement, ending any read that a caller left open. Never fails.
  void resetStatements() noexcept;
  // Rows changed by the latest INSERT, UPDATE or DELETE of this connection.
  int changes() const;
  // Copies this database over destination's with SQLite's online backup, in one step, so that
  // the copy is one consistent snapshot while other connections go on writing; waits up to the
  // busy timeout for a lock. Throws DatabaseError.
  void backupTo(Database& destination);
  // The file this connection was opened on.
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  sqlite3* db_ = nullptr;
  std::unordered_map<std::string, std::unique_ptr<Statement>> statements_;
};

// A write transaction (BEGIN IMMEDIATE) that rolls back unless committed.
class Transaction {
 public:
  // Begins; waits up to the busy timeout for other writers; throws DatabaseError.
  explicit Transaction(Database& db);
  // Rolls back when commit() was not reached. Never fails.
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  // Commits; throws DatabaseError (the destructor then rolls back).
  void commit();

 private:
  Database& db_;
  bool done_ = false;
};

}  // namespace tarvine::serve
