// `tarvine serve` as an operator runs it: an unversioned database is migrated with its data, a
// newer one is refused untouched, a backup taken while a writer is busy is a readable, equal copy
// of what was committed, and what cannot be done is said in one line.

#include <gtest/gtest.h>

#include <string>

#include "Database.h"
#include "DemoData.h"
#include "Golden.h"
#include "RouteService.h"
#include "Schema.h"
#include "ServeFixture.h"

// The tables of options name only what each case sets; the rest keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace tarvine::serve::test {
namespace {

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
  std::vector<std::string> before;
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
  const std::vector<std::string> committed = contents(writer);
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

// What cannot be done exits with status 1 and says why, before any backup is written; options
// that do not go together exit with status 2 and one line, before anything listens or any
// database is made.
TEST_F(SchemaBackup, FailuresAndOptionsThatDoNotGoTogetherSayWhy) {
  RouteService taken((dir_.path() / "taken.db").string());
  taken.setRequestLog(nullptr);
  const int port = taken.start("127.0.0.1", 0);
  const std::string dir = dir_.path().string();
  const ServeOptions cases[] = {{.dbPath = "/nonexistent-directory/route.db"},
                                {.port = port, .dbPath = dir + "/b.db"},
                                {.dbPath = dbPath_, .backupPath = dbPath_},
                                {.dbPath = dir + "/missing.db", .backupPath = dir + "/copy.db"},
                                {.segments = 10},
                                {.host = "0.0.0.0"},
                                {.host = "::"},
                                {.host = "0.0.0.0", .allowFrom = "10.0.0.0/8,10.1.0.0/33"},
                                {.tlsCert = "cert.pem"}};
  std::string told;
  for (const ServeOptions& options : cases) {
    int status = 0;
    const std::string error = runServeCapturing(options, status);
    told += std::to_string(status) + ": " + error;
  }
  for (const auto& [text, mark] : {std::pair{dir, "DIR"}, {std::to_string(port), "PORT"}}) {
    for (std::size_t at; (at = told.find(text)) != std::string::npos;)
      told.replace(at, text.size(), mark);
  }
  tarvine::test::expectGolden(told, "serve/run-serve.txt");
  EXPECT_FALSE(std::filesystem::exists(dir + "/copy.db"));
}

}  // namespace
}  // namespace tarvine::serve::test
