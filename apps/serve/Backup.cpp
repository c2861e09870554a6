#include "Backup.h"

#include <stdlib.h>
#include <sys/stat.h>
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

// The suffixes of the database file and of the files SQLite keeps beside it while it is open.
constexpr const char* kDatabaseFiles[] = {"", "-wal", "-shm", "-journal"};

// Refuses a backup target that is the database or one of its companion files, by path (through
// linked folders, and beside both the database's name and the file a link of it leads to) and
// by file identity (a hard or symbolic link to one of them).
void checkPaths(const fs::path& db, const fs::path& backup) {
  std::error_code error;
  if (!fs::is_regular_file(db, error)) {
    throw std::runtime_error("there is no database " + db.string());
  }
  const fs::path target = fs::weakly_canonical(backup, error);
  struct stat targetFile {};
  const bool targetExists = ::stat(backup.c_str(), &targetFile) == 0;
  const fs::path linkedTo = fs::canonical(db, error);
  for (const fs::path& base : {db, error ? db : linkedTo}) {
    for (const char* suffix : kDatabaseFiles) {
      const fs::path file = base.string() + suffix;
      struct stat status {};
      const bool samePath = fs::weakly_canonical(file, error) == target && !target.empty();
      const bool sameFile = targetExists && ::stat(file.c_str(), &status) == 0 &&
                            status.st_dev == targetFile.st_dev &&
                            status.st_ino == targetFile.st_ino;
      if (!samePath && !sameFile) continue;
      throw std::runtime_error("the backup " + backup.string() + " is " +
                               (*suffix ? file.string() + ", which SQLite keeps beside the database"
                                        : std::string("the database itself")));
    }
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
