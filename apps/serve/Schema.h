// The route service's tables and the per-file settings they rely on.
#pragma once

namespace tarvine::serve {

class Database;

// Creates the tables and indexes that are missing and switches the file to WAL mode.
// Idempotent; throws DatabaseError when the file is not a usable database.
void applySchema(Database& db);

}  // namespace tarvine::serve
