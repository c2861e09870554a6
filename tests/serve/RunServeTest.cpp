// `tarvine serve` as an operator runs it: an unversioned database is migrated with its data, a
// newer one is refused untouched, a backup taken while a writer is busy is a readable, equal copy
// of what was committed, and what cannot be done is said in one line.

#include <gtest/gtest.h>

#include <algorithm>
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

// What cannot be done exits with status 1 and says why, before any backup is written.
TEST_F(SchemaBackup, FailuresExitWithStatus1AndSayWhy) {
  RouteService taken((dir_.path() / "taken.db").string());
  taken.setRequestLog(nullptr);
  const int port = taken.start("127.0.0.1", 0);
  const std::string copy = (dir_.path() / "copy.db").string();
  const struct {
    std::string db, backup;
    int port;
    const char* reason;
  } cases[] = {{"/nonexistent-directory/route.db", "", 0, "cannot open database"},
               {(dir_.path() / "b.db").string(), "", port, "cannot listen on 127.0.0.1:"},
               {dbPath_, dbPath_, 0, "is the database itself"},
               {(dir_.path() / "missing.db").string(), copy, 0, "there is no database"}};
  for (const auto& c : cases) {
    ServeOptions options;
    options.dbPath = c.db;
    options.backupPath = c.backup;
    if (c.port != 0) options.port = c.port;
    int status = 0;
    const std::string told = runServeCapturing(options, status);
    EXPECT_EQ(status, 1) << c.reason;
    EXPECT_NE(told.find(c.reason), std::string::npos) << told;
  }
  EXPECT_FALSE(std::filesystem::exists(copy));
}

// Options that do not go together: exit status 2 and one line on stderr, before anything
// listens or any database is made.
TEST(RunServe, OptionsThatDoNotGoTogetherExitWithStatus2AndOneLine) {
  const std::pair<void (*)(ServeOptions&), const char*> cases[] = {
      {[](ServeOptions& o) { o.segments = 10; }, "--segments needs --generate-load"},
      {[](ServeOptions& o) { o.host = "0.0.0.0"; }, "listening on 0.0.0.0 needs --allow-from"},
      {[](ServeOptions& o) { o.host = "::"; }, "needs --allow-from"},
      {[](ServeOptions& o) {
         o.host = "0.0.0.0";
         o.allowFrom = "10.0.0.0/8,10.1.0.0/33";
       },
       "--allow-from: \"10.1.0.0/33\" has no valid prefix length"},
      {[](ServeOptions& o) { o.tlsCert = "cert.pem"; }, "--tls-cert and --tls-key go together"}};
  for (const auto& [arrange, messagePart] : cases) {
    ServeOptions options;
    arrange(options);
    int status = 0;
    const std::string error = runServeCapturing(options, status);
    EXPECT_EQ(status, 2) << error;
    EXPECT_NE(error.find(messagePart), std::string::npos) << error;
    EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1) << error;
  }
}

}  // namespace
}  // namespace tarvine::serve::test
