// The route service's tables, their version, and the per-file settings they rely on.
#pragma once

#include "Database.h"

namespace tarvine::serve {

// The schema version this program writes and reads, kept in the file as PRAGMA user_version.
// Version 0 is the first schema, from before the file carried a version.
inline constexpr int kSchemaVersion = 1;

// Raised for a file whose schema is newer than this program knows.
class SchemaTooNew : public DatabaseError {
 public:
  using DatabaseError::DatabaseError;
};

// The schema version stored in the file; throws DatabaseError when it is not a database.
int schemaVersion(Database& db);

// Creates the tables of a new file, or migrates an older file to kSchemaVersion in one
// transaction (nothing changes when a step fails), and switches the file to WAL mode. Returns
// the version the file had before (kSchemaVersion for a new file). Throws SchemaTooNew for a newer
// file, DatabaseError when the file is not a usable database.
int applySchema(Database& db);

}  // namespace tarvine::serve
