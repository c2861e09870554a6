// `tarvine serve --backup`: a consistent copy of a route service database, taken while
// services may be using it.
#pragma once

#include <cstdint>
#include <string>

namespace tarvine::serve {

// What a backup wrote.
struct BackupResult {
  int schemaVersion = 0;     // the schema version of the copy
  std::uintmax_t bytes = 0;  // the size of the copy
};

// Copies the database at dbPath to backupPath with SQLite's online backup; readers and
// writers of the database go on meanwhile. The copy is one self-contained file (no
// write-ahead log) readable only by its owner, written beside backupPath and renamed into
// place once checked, so backupPath holds either its old content or the whole copy. Reads
// the database through a read-only connection. Throws std::runtime_error (or DatabaseError) when
// the database does not exist or cannot be read, when backupPath is the database itself or one
// of the files SQLite keeps beside it (-wal, -shm, -journal; by path or by file identity, also
// through links), or when the copy cannot be written.
BackupResult backupDatabase(const std::string& dbPath, const std::string& backupPath);

}  // namespace tarvine::serve
