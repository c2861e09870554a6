#pragma once
// Runs a shell command line as a user would, for tests of the programs themselves.

#include <stdio.h>
#include <sys/wait.h>

#include <array>
#include <string>
#include <utility>

namespace tarvine::test {

// Runs a shell command line and gives its exit status (-1 when it did not exit) and what it
// printed on both streams.
inline std::pair<int, std::string> runCommand(const std::string& line) {
  std::string output;
  FILE* pipe = popen((line + " 2>&1").c_str(), "r");
  if (!pipe) return {-1, output};
  std::array<char, 4096> buffer{};
  while (fgets(buffer.data(), buffer.size(), pipe)) output += buffer.data();
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

}  // namespace tarvine::test
