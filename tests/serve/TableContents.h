// Every row of every table of db, every column quoted, sorted; the times at which history
// entries were recorded written as '#'.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "Database.h"
#include "TemporaryFolder.h"

namespace tarvine::serve::test {

using TempDir = tarvine::test::TemporaryFolder;

inline std::vector<std::string> contents(Database& db) {
  std::vector<std::string> tables;
  Statement& names =
      db.prepare("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name");
  while (names.step()) tables.emplace_back(names.text(0));
  std::vector<std::string> rows;
  for (const std::string& table : tables) {
    std::string row = "'" + table + "'";
    Statement& columns = db.prepare("SELECT name FROM pragma_table_info(?)");
    columns.bind(1, std::string_view(table));
    while (columns.step()) {
      const std::string column(columns.text(0));
      row += " || ',' || " + (column == "RecordedAt" ? "'#'" : "quote(" + column + ")");
    }
    Statement& all = db.prepare("SELECT " + row + " FROM " + table);
    while (all.step()) rows.emplace_back(all.text(0));
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

}  // namespace tarvine::serve::test
