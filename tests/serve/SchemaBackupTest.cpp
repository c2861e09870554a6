// The database as a service keeps it: an unversioned file is migrated with its data, a newer one
// is refused untouched, and a backup taken while a writer is busy is a readable, equal copy of
// what was committed.

#include <gtest/gtest.h>

#include <string>

#include "Database.h"
#include "DemoData.h"
#include "RouteService.h"
#include "Schema.h"
#include "ServeFixture.h"

namespace tarvine::serve::test {
namespace {

// Every row of every table, every column quoted, in a fixed order.
std::string contents(Database& db) {
  std::vector<std::string> tables;
  Statement& names =
      db.prepare("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name");
  while (names.step()) tables.emplace_back(names.text(0));
  std::string text;
  for (const std::string& table : tables) {
    std::string row = "'" + table + "'";
    Statement& columns = db.prepare("SELECT name FROM pragma_table_info(?)");
    columns.bind(1, std::string_view(table));
    while (columns.step()) row += " || ',' || quote(" + std::string(columns.text(0)) + ")";
    Statement& rows = db.prepare("SELECT " + row + " AS r FROM " + table + " ORDER BY r");
    while (rows.step()) text += std::string(rows.text(0)) + "\n";
  }
  return text;
}

std::string runServeCapturing(const ServeOptions& options, int& status) {
  testing::internal::CaptureStderr();
  status = runServe(options);
  return testing::internal::GetCapturedStderr();
}

class SchemaBackup : public testing::Test {
 protected:
  void SetUp() override { openDemoDatabase(dbPath_); }
  void setVersion(int version) {
    Database db(dbPath_);
    db.execute("PRAGMA user_version = " + std::to_string(version));
  }

  TempDir dir_;
  std::string dbPath_ = (dir_.path() / "route.db").string();
};

TEST_F(SchemaBackup, AnUnversionedDatabaseIsMigratedWithItsData) {
  setVersion(0);
  std::string before;
  {
    Database db(dbPath_);
    before = contents(db);
  }
  RouteService service(dbPath_);
  EXPECT_EQ(service.schemaVersionFound(), 0);
  Database db(dbPath_);
  EXPECT_EQ(schemaVersion(db), kSchemaVersion);
  EXPECT_EQ(contents(db), before);
  // A new file is created at the current version, not migrated.
  EXPECT_EQ(RouteService((dir_.path() / "new.db").string()).schemaVersionFound(), kSchemaVersion);
}

TEST_F(SchemaBackup, ANewerDatabaseIsRefusedAndLeftAsItIs) {
  setVersion(kSchemaVersion + 1);
  {
    Database db(dbPath_);
    db.execute("PRAGMA journal_mode = DELETE");
  }
  try {
    RouteService service(dbPath_);
    ADD_FAILURE() << "a newer database was opened";
  } catch (const SchemaTooNew& error) {
    EXPECT_NE(std::string(error.what()).find("newer than this tarvine knows"), std::string::npos)
        << error.what();
  }
  Database db(dbPath_);
  EXPECT_EQ(schemaVersion(db), kSchemaVersion + 1);
  Statement& mode = db.prepare("PRAGMA journal_mode");
  ASSERT_TRUE(mode.step());
  EXPECT_EQ(mode.text(0), "delete");
}

TEST_F(SchemaBackup, ABackupIsTheCommittedDatabaseWhileAWriterIsBusy) {
  RouteService service(dbPath_);
  service.setRequestLog(nullptr);
  service.start("127.0.0.1", 0);
  Database writer(dbPath_);
  const std::string committed = contents(writer);
  Transaction busy(writer);
  writer.execute("UPDATE VOZA_OrderHeader SET OutgoingLoad = NULL");

  ServeOptions options;
  options.dbPath = dbPath_;
  options.backupPath = (dir_.path() / "copy.db").string();
  int status = 0;
  const std::string told = runServeCapturing(options, status);
  ASSERT_EQ(status, 0) << told;
  Database copy(options.backupPath, OpenMode::ReadOnly);
  EXPECT_EQ(schemaVersion(copy), kSchemaVersion);
  EXPECT_EQ(contents(copy), committed);
}

TEST_F(SchemaBackup, ABackupIsRefusedOverTheDatabaseOrWithoutOne) {
  for (const auto& [db, backup, reason] :
       {std::tuple{dbPath_, dbPath_, "is the database itself"},
        std::tuple{(dir_.path() / "missing.db").string(), (dir_.path() / "copy.db").string(),
                   "there is no database"}}) {
    ServeOptions options;
    options.dbPath = db;
    options.backupPath = backup;
    int status = 0;
    const std::string told = runServeCapturing(options, status);
    EXPECT_EQ(status, 1) << reason;
    EXPECT_NE(told.find(reason), std::string::npos) << told;
  }
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "copy.db"));
}

}  // namespace
}  // namespace tarvine::serve::test
