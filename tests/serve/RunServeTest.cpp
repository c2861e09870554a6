// `tarvine serve` as an operator runs it: an unversioned database is migrated with its data, a
// backup taken while a writer is busy is a readable, equal copy of what was committed, what
// cannot be done is said in one line, and a newer database is refused untouched.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Database.h"
#include "DemoData.h"
#include "Golden.h"
#include "RouteService.h"
#include "Schema.h"
#include "TableContents.h"
#include "platform/Text.h"

namespace tarvine::serve::test {
namespace {

TEST(RunServe, MigratesBacksUpRefusesAndSaysWhy) {
  TempDir dir;
  const std::string folder = dir.path().string(), dbPath = folder + "/route.db";
  const std::string name = dir.path().filename().string() + "/route.db";
  openDemoDatabase(dbPath);
  std::vector<std::string> before;
  {
    Database db(dbPath);
    db.execute("PRAGMA user_version = 0");
    before = contents(db);
  }
  EXPECT_EQ(RouteService(dbPath).schemaVersionFound(), 0);
  Database writer(dbPath);
  EXPECT_EQ(schemaVersion(writer), kSchemaVersion);
  EXPECT_EQ(contents(writer), before);
  // A new file is created at the current version, not migrated.
  EXPECT_EQ(RouteService(folder + "/new.db").schemaVersionFound(), kSchemaVersion);

  // What cannot be done exits with status 1 and says why, before any backup is written; options
  // that do not go together exit with status 2 and one line, before anything listens or any
  // database is made. The backup is taken while a writer holds uncommitted changes.
  RouteService taken(folder + "/taken.db");
  taken.setRequestLog(nullptr);
  const int port = taken.start("127.0.0.1", 0);
  Transaction busy(writer);
  writer.execute("UPDATE VOZA_OrderHeader SET OutgoingLoad = NULL");
  // The database's own files are never a backup's target, however they are named.
  std::filesystem::create_symlink(dbPath + "-wal", folder + "/wal-link");
  std::filesystem::create_hard_link(dbPath, folder + "/hard.db");
  struct stat wal {};
  ASSERT_EQ(stat((dbPath + "-wal").c_str(), &wal), 0);
  const std::function<void(ServeOptions&)> cases[] = {
      [&](ServeOptions& o) { o.dbPath = "/nonexistent-directory/route.db"; },
      [&](ServeOptions& o) { o.port = port, o.dbPath = folder + "/b.db"; },
      [&](ServeOptions& o) { o.dbPath = dbPath, o.backupPath = dbPath; },
      [&](ServeOptions& o) { o.dbPath = dbPath, o.backupPath = dbPath + "-wal"; },
      [&](ServeOptions& o) {
        o.dbPath = dbPath, o.backupPath = folder + "/../" + name + "-journal";
      },
      [&](ServeOptions& o) { o.dbPath = dbPath, o.backupPath = folder + "/wal-link"; },
      [&](ServeOptions& o) { o.dbPath = dbPath, o.backupPath = folder + "/hard.db"; },
      [&](ServeOptions& o) { o.dbPath = folder + "/missing.db", o.backupPath = folder + "/c.db"; },
      [&](ServeOptions& o) { o.segments = 10; },
      [&](ServeOptions& o) { o.host = "0.0.0.0"; },
      [&](ServeOptions& o) { o.host = "::"; },
      [&](ServeOptions& o) { o.host = "0.0.0.0", o.allowFrom = "10.0.0.0/8,10.1.0.0/33"; },
      [&](ServeOptions& o) { o.tlsCert = "cert.pem"; },
      [&](ServeOptions& o) { o.serverNames = "route, backoffice:80"; },
      [&](ServeOptions& o) { o.dbPath = dbPath, o.backupPath = folder + "/copy.db"; }};
  std::string told;
  for (const auto& set : cases) {
    ServeOptions options;
    set(options);
    testing::internal::CaptureStderr();
    told += std::to_string(runServe(options)) + ": ";
    told += testing::internal::GetCapturedStderr();
  }
  EXPECT_FALSE(std::filesystem::exists(folder + "/c.db"));
  struct stat walAfter {};
  ASSERT_EQ(stat((dbPath + "-wal").c_str(), &walAfter), 0);
  EXPECT_EQ(walAfter.st_ino, wal.st_ino);
  Database copy(folder + "/copy.db", OpenMode::ReadOnly);
  EXPECT_EQ(schemaVersion(copy), kSchemaVersion);
  EXPECT_EQ(contents(copy), before);
  busy.commit();

  // A newer database is refused and left as it is, its journal mode too.
  writer.execute("PRAGMA user_version = " + std::to_string(kSchemaVersion + 1));
  writer.execute("PRAGMA journal_mode = DELETE");
  try {
    RouteService service(dbPath);
    ADD_FAILURE() << "a newer database was opened";
  } catch (const SchemaTooNew& error) {
    told += error.what();
  }
  tarvine::text::replaceAllInPlace(told, folder, "DIR");
  tarvine::text::replaceAllInPlace(told, dir.path().filename().string(), "NAME");
  tarvine::text::replaceAllInPlace(told, std::to_string(port), "PORT");
  tarvine::test::expectGolden(told, "serve/run-serve.txt");
  EXPECT_EQ(schemaVersion(writer), kSchemaVersion + 1);
  Statement& mode = writer.prepare("PRAGMA journal_mode");
  ASSERT_TRUE(mode.step());
  EXPECT_EQ(mode.text(0), "delete");
}

}  // namespace
}  // namespace tarvine::serve::test
