#pragma once
// One golden check of a whole text: compared with tests/golden/<name>. With TARVINE_UPDATE_GOLDEN=1
// in the environment the file is written instead (then review the difference before committing);
// under CI (the environment variable CI set) that is refused, so CI never rewrites what it checks.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace tarvine::test {

inline void expectGolden(const std::string& actual, const std::string& name) {
  const std::string path = std::string(TARVINE_GOLDEN_DIR) + "/" + name;
  if (const char* update = std::getenv("TARVINE_UPDATE_GOLDEN"); update && *update == '1') {
    ASSERT_EQ(std::getenv("CI"), nullptr)
        << "TARVINE_UPDATE_GOLDEN=1 rewrites " << path << "; it is refused while CI is set";
    std::ofstream(path, std::ios::binary) << actual;
    return;
  }
  std::ifstream file(path, std::ios::binary);
  ASSERT_TRUE(file) << path << " is missing; TARVINE_UPDATE_GOLDEN=1 writes it";
  std::ostringstream golden;
  golden << file.rdbuf();
  EXPECT_EQ(actual, golden.str()) << "differs from " << path;
}

}  // namespace tarvine::test
