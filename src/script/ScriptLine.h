#pragma once
// Splitting a script line into its command and arguments.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvine::script {

struct ParsedLine {
  std::vector<std::string> words;  // empty for a blank line or a comment
  std::string error;               // why the line could not be split; empty when it could
};

// Arguments are separated by blanks (spaces, tabs); an argument in double quotes may hold blanks
// and the escapes \" \\ \n \r \t. Blank lines and lines starting with # (after blanks) give no
// words. An unterminated quote or an unknown escape gives an error text.
ParsedLine splitLine(std::string_view line);

}  // namespace tarvine::script
