// The per-user registry file: where it lives, what registration writes, and round trips that
// leave the file as it began.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Golden.h"
#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"
#include "component/Registry.h"
#include "component/TypeDescription.h"

namespace tarvine::component {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using test::readText;
using test::ScopedEnvironment;
using test::writeText;

class RegistryTest : public ::testing::Test {
 protected:
  test::TemporaryFolder folder;
  fs::path file = folder.path() / "data" / "tarvine" / "registry.json";
  const std::string library = "/opt/tarvine/lib/libtarvine_order_pick.so.2";

  json document() const { return json::parse(readText(file)); }
  // No file other than the registry and its lock file is left in its folder (no temporary of
  // the write).
  bool onlyTheRegistryFile() const {
    for (const auto& entry : fs::directory_iterator(file.parent_path())) {
      if (entry.path() != file && entry.path() != file.string() + ".lock") return false;
    }
    return true;
  }
};

TEST_F(RegistryTest, RegistrationRecordsTheClassAndTheTypeLibrary) {
  registerServer(file, library);
  registerServer(file, library);  // twice is once
  test::expectGolden(readText(file), "registry.json");
  EXPECT_TRUE(onlyTheRegistryFile());
  unregisterServer(file);
  EXPECT_FALSE(fs::exists(file));
  unregisterServer(file);  // nothing to remove
  EXPECT_FALSE(fs::exists(file));
}

// Registering and unregistering leaves another program's entries, a hand-written layout and
// the file's mode as they were; a file without our entries is not even rewritten.
TEST_F(RegistryTest, RoundTripsKeepTheFile) {
  fs::create_directories(file.parent_path());
  const json other = {
      {"classes", {{"{00000000-0000-0000-0000-000000000001}", {{"library", "/x.so"}}}}},
      {"typelibs", {{std::string(kLibraryId), {{"1.0", {{"library", "/old.so"}}}}}}},
      {"note", "kept"}};
  for (const std::string& before :
       {other.dump(2) + "\n", std::string(R"({"z": [1, 2], "a": {"b": null}})")}) {
    writeText(file, before);
    ::chmod(file.c_str(), 0640);
    registerServer(file, library);
    EXPECT_EQ(document()["classes"].size(), before.starts_with("{\n") ? 2u : 1u);
    unregisterServer(file);
    EXPECT_EQ(readText(file),
              before.starts_with("{\n") ? before : json::parse(before).dump(2) + "\n");
    struct stat status {};
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
  }
  EXPECT_TRUE(onlyTheRegistryFile());
  const std::string untouched = "{ \"classes\" : { } }";
  writeText(file, untouched);
  unregisterServer(file);
  EXPECT_EQ(readText(file), untouched);
}

TEST_F(RegistryTest, AnUnreadableRegistryIsRefusedAndLeftAsItIs) {
  fs::create_directories(file.parent_path());
  const std::string deep = std::string(100'000, '[') + std::string(100'000, ']');
  const std::string large = "{\"a\": \"" + std::string(kMaxRegistryBytes, 'x') + "\"}";
  for (const std::string& text :
       {std::string("not json"), std::string("[1, 2]"), std::string(R"({"classes": 5})"),
        std::string(), "{\"a\": " + deep + "}", large}) {
    writeText(file, text);
    EXPECT_THROW(registerServer(file, library), RegistryError) << text.substr(0, 40);
    EXPECT_THROW(unregisterServer(file), RegistryError) << text.substr(0, 40);
    EXPECT_EQ(readText(file), text);
  }
  EXPECT_TRUE(onlyTheRegistryFile());
}

// A fifo would wait for a writer, /dev/zero never end: neither is read, nor replaced.
TEST_F(RegistryTest, OnlyARegularFileIsRead) {
  fs::create_directories(file.parent_path());
  for (const bool fifo : {true, false}) {
    fs::remove(file);
    if (fifo) {
      ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    } else {
      fs::create_symlink("/dev/zero", file);
    }
    try {
      registerServer(file, library);
      ADD_FAILURE() << "registered";
    } catch (const RegistryError& error) {
      EXPECT_THAT(error.what(), ::testing::EndsWith("is not a regular file"));
    }
  }
  EXPECT_TRUE(fs::is_symlink(file));
}

// Through a symbolic link (relative here) the file it leads to is changed and the link stays,
// also when unregistering removed that file and registering makes it again.
TEST_F(RegistryTest, ALinkedRegistryStaysALink) {
  fs::create_directories(file.parent_path());
  fs::create_symlink("../../real.json", file);
  for (int round = 0; round < 2; ++round) {
    registerServer(file, library);
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(document()["classes"].size(), 1u);
    unregisterServer(file);
    EXPECT_FALSE(fs::exists(folder.path() / "real.json"));
  }
}

// Two programs changing the registry at once: every entry each adds survives.
TEST_F(RegistryTest, ConcurrentChangesLoseNothing) {
  constexpr int kWriters = 2, kEntries = 100;
  std::vector<pid_t> writers;
  for (int writer = 0; writer < kWriters; ++writer) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid > 0) {
      writers.push_back(pid);
      continue;
    }
    int status = 0;
    try {
      for (int entry = 0; entry < kEntries; ++entry) {
        changeRegistry(file, [&](json& document) {
          document["entries"][std::to_string(writer) + "-" + std::to_string(entry)] = entry;
          return true;
        });
      }
    } catch (const RegistryError&) {
      status = 1;
    }
    ::_exit(status);
  }
  for (const pid_t pid : writers) {
    int status = -1;
    ::waitpid(pid, &status, 0);
    EXPECT_EQ(status, 0);
  }
  EXPECT_EQ(document()["entries"].size(), std::size_t{kWriters * kEntries});
}

TEST_F(RegistryTest, AFolderThatCannotBeMadeIsAnError) {
  writeText(folder.path() / "data", "a file where the folder should be");
  EXPECT_THROW(registerServer(file, library), RegistryError);
}

TEST(RegistryPathTest, EnvironmentDecidesWhereTheFileLives) {
  using Env = std::optional<std::string>;
  const std::string local = "/home/dispatcher/.local/share/tarvine/registry.json";
  // TARVINE_REGISTRY, XDG_DATA_HOME (used only when absolute), HOME; the path, empty: refused.
  const std::vector<std::tuple<Env, Env, Env, std::string>> cases = {
      {"/tmp/r.json", "/data", "/home/dispatcher", "/tmp/r.json"},
      {std::nullopt, "/data", "/home/dispatcher", "/data/tarvine/registry.json"},
      {std::nullopt, "relative/data", "/home/dispatcher", local},
      {"", std::nullopt, "/home/dispatcher", local},
      {"", std::nullopt, std::nullopt, ""}};
  for (const auto& [registry, xdg, home, expected] : cases) {
    ScopedEnvironment r("TARVINE_REGISTRY", registry), x("XDG_DATA_HOME", xdg), h("HOME", home);
    if (expected.empty()) {
      EXPECT_THROW(registryPath(), RegistryError);
    } else {
      EXPECT_EQ(registryPath(), fs::path(expected));
    }
  }
}

}  // namespace
}  // namespace tarvine::component
