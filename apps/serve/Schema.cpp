#include "Schema.h"

#include <string>

namespace tarvine::serve {
namespace {

// The first schema (version 0). A new file gets it and then every migration, so that a new
// file and a migrated one are the same.
// Amounts, weights and volumes are REAL values kept to two decimals; LoadDate is YYYY-MM-DD.
// A segment on no load has OutgoingLoad NULL; a segment without a known rate has Freight NULL.
constexpr const char* kTables = R"sql(
CREATE TABLE IF NOT EXISTS Center (
  CenterID   INTEGER PRIMARY KEY,
  CenterName TEXT NOT NULL
);
CREATE TABLE IF NOT EXISTS Route (
  RouteID     INTEGER PRIMARY KEY,
  Route       TEXT NOT NULL UNIQUE,
  Description TEXT NOT NULL
);
CREATE TABLE IF NOT EXISTS RouteStop (
  RouteID   INTEGER NOT NULL REFERENCES Route(RouteID),
  StopOrder INTEGER NOT NULL,
  CenterID  INTEGER NOT NULL REFERENCES Center(CenterID),
  PRIMARY KEY (RouteID, StopOrder),
  UNIQUE (RouteID, CenterID)
);
CREATE TABLE IF NOT EXISTS OutgoingLoad (
  OutgoingLoadID INTEGER PRIMARY KEY CHECK (OutgoingLoadID BETWEEN -32768 AND 32767),
  RouteID        INTEGER NOT NULL REFERENCES Route(RouteID),
  FacilityID     TEXT NOT NULL
);
CREATE TABLE IF NOT EXISTS VOZA_OrderHeader (
  CenterID                 INTEGER NOT NULL REFERENCES Center(CenterID),
  OrderID                  TEXT NOT NULL,
  VOZA_OrderSegment        INTEGER NOT NULL CHECK (VOZA_OrderSegment BETWEEN -32768 AND 32767),
  FacilityID               TEXT NOT NULL,
  LoadDate                 TEXT NOT NULL,
  NumberParcels            INTEGER NOT NULL,
  FactoryWeight            REAL NOT NULL,
  CubicFeet                REAL NOT NULL,
  FreightCost              REAL NOT NULL,
  OutgoingLoad             INTEGER REFERENCES OutgoingLoad(OutgoingLoadID),
  Freight                  REAL,
  MinimumCharge            REAL NOT NULL,
  TotalRate                REAL NOT NULL,
  TotalSuggestedFreight    REAL NOT NULL,
  HighPriorityIndicator    INTEGER NOT NULL DEFAULT 0 CHECK (HighPriorityIndicator IN (0, 1)),
  OverrideFreightIndicator INTEGER NOT NULL DEFAULT 0 CHECK (OverrideFreightIndicator IN (0, 1)),
  Comment                  TEXT,
  PRIMARY KEY (CenterID, OrderID, VOZA_OrderSegment)
);
CREATE INDEX IF NOT EXISTS VOZA_OrderHeader_ByLoad ON VOZA_OrderHeader (OutgoingLoad);
CREATE INDEX IF NOT EXISTS VOZA_OrderHeader_ByOrder ON VOZA_OrderHeader (OrderID, VOZA_OrderSegment);
CREATE INDEX IF NOT EXISTS VOZA_OrderHeader_OnNoLoad
  ON VOZA_OrderHeader (CenterID, FacilityID) WHERE OutgoingLoad IS NULL;
CREATE TABLE IF NOT EXISTS VOZA_OrderProgressHistory (
  HistoryID         INTEGER PRIMARY KEY,
  ProgressCode      INTEGER NOT NULL,
  OrderID           TEXT NOT NULL,
  VOZA_OrderSegment INTEGER NOT NULL,
  PersonID          INTEGER NOT NULL,
  PersonTypeID      INTEGER NOT NULL,
  RecordedAt        TEXT NOT NULL DEFAULT (strftime('%Y-%m-%dT%H:%M:%fZ', 'now'))
);
)sql";

// kMigrations[v] takes a file from version v to v + 1.
constexpr const char* kMigrations[kSchemaVersion] = {
    // 1: the file carries its schema version; the tables are those of version 0.
    "",
};

void refuseNewer(Database& db, int version) {
  if (version <= kSchemaVersion) return;
  throw SchemaTooNew("the database " + db.path() + " has schema version " +
                     std::to_string(version) + ", newer than this tarvine knows (" +
                     std::to_string(kSchemaVersion) +
                     "); run the tarvine that wrote it, or restore a backup taken before");
}

}  // namespace

int schemaVersion(Database& db) {
  Statement& query = db.prepare("PRAGMA user_version");
  const int version = query.step() ? static_cast<int>(query.integer(0)) : 0;
  query.reset();
  return version;
}

int applySchema(Database& db) {
  // Refused before anything is written to the file, even its journal mode.
  refuseNewer(db, schemaVersion(db));
  db.execute("PRAGMA journal_mode = WAL");
  Transaction transaction(db);
  // Read again inside the write lock: another service may have migrated the file meanwhile.
  const int found = schemaVersion(db);
  refuseNewer(db, found);
  if (found == kSchemaVersion) return found;
  const bool created = found == 0 && !db.prepare("SELECT 1 FROM sqlite_master").hasRow();
  if (found == 0) db.execute(kTables);
  for (int version = found; version < kSchemaVersion; ++version) db.execute(kMigrations[version]);
  db.execute("PRAGMA user_version = " + std::to_string(kSchemaVersion));
  transaction.commit();
  return created ? kSchemaVersion : found;
}

}  // namespace tarvine::serve
