#include "Backup.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "Database.h"
#include "Schema.h"

namespace tarvine::serve {
namespace {

namespace fs = std::filesystem;

// An empty file beside target, readable only by its owner; removed at the end of the scope
// unless kept.
class PartialFile {
 public:
  explicit PartialFile(const fs::path& target) {
    std::string pattern = target.string() + ".partial-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) {
      throw std::runtime_error("cannot write the backup " + target.string() + ": " +
                               std::strerror(errno));
    }
    close(fd);
    path_ = pattern;
  }
  ~PartialFile() {
    if (kept_) return;
    std::error_code ignored;
    fs::remove(path_, ignored);
  }
  PartialFile(const PartialFile&) = delete;
  PartialFile& operator=(const PartialFile&) = delete;

  const fs::path& path() const { return path_; }
  // Renames the file to target; throws std::runtime_error.
  void moveTo(const fs::path& target) {
    std::error_code error;
    fs::rename(path_, target, error);
    if (error) {
      throw std::runtime_error("cannot write the backup " + target.string() + ": " +
                               error.message());
    }
    kept_ = true;
  }

 private:
  fs::path path_;
  bool kept_ = false;
};

void checkPaths(const fs::path& db, const fs::path& backup) {
  std::error_code error;
  if (!fs::is_regular_file(db, error)) {
    throw std::runtime_error("there is no database " + db.string());
  }
  if (fs::exists(backup, error) && fs::equivalent(db, backup, error)) {
    throw std::runtime_error("the backup " + backup.string() + " is the database itself");
  }
}

}  // namespace

BackupResult backupDatabase(const std::string& dbPath, const std::string& backupPath) {
  checkPaths(dbPath, backupPath);
  Database source(dbPath, OpenMode::ReadOnly);
  schemaVersion(source);  // fails at once for a file that is not a database
  PartialFile partial(backupPath);
  BackupResult result;
  {
    Database copy(partial.path().string());
    source.backupTo(copy);
    // One self-contained file: the copy leaves the write-ahead log mode it took from the source.
    copy.execute("PRAGMA journal_mode = DELETE");
    Statement& check = copy.prepare("PRAGMA quick_check");
    if (!check.step() || check.text(0) != "ok") {
      throw DatabaseError("the copy of " + dbPath + " fails SQLite's quick check");
    }
    check.reset();
    result.schemaVersion = schemaVersion(copy);
  }
  partial.moveTo(backupPath);
  result.bytes = fs::file_size(backupPath);
  return result;
}

}  // namespace tarvine::serve
