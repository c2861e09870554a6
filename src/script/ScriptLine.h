#pragma once
// Reading script lines and splitting them into their command and arguments.

#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvine::script {

// The longest script line that is run; a longer one stops the script with an error.
inline constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;

// The next line of `in` without its line break; nothing at the end of the input. Keeps at most
// kMaxLineBytes + 1 bytes of a line: a longer one comes back cut there, its rest unread, so a
// huge line costs no more memory than that.
std::optional<std::string> readLine(std::istream& in);

// The error text for a line longer than kMaxLineBytes, quoting only its beginning.
std::string overlongLineError(std::string_view line);

struct ParsedLine {
  std::vector<std::string> words;  // empty for a blank line or a comment
  std::string error;               // why the line could not be split; empty when it could
};

// Arguments are separated by blanks (spaces, tabs); an argument in double quotes may hold blanks
// and the escapes \" \\ \n \r \t. Blank lines and lines starting with # (after blanks) give no
// words. An unterminated quote or an unknown escape gives an error text.
ParsedLine splitLine(std::string_view line);

}  // namespace tarvine::script
