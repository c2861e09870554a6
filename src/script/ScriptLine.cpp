#include "script/ScriptLine.h"

#include "platform/Text.h"

namespace tarvine::script {
namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

// How much of an overlong line its error quotes.
constexpr std::size_t kQuotedBytes = 80;

}  // namespace

std::optional<std::string> readLine(std::istream& in) {
  std::streambuf* buffer = in.rdbuf();
  if (!in.good() || buffer == nullptr) return std::nullopt;
  std::string line;
  for (;;) {
    const int c = buffer->sbumpc();
    if (c == std::char_traits<char>::eof()) {
      in.setstate(std::ios::eofbit);
      if (line.empty()) return std::nullopt;
      return line;
    }
    if (c == '\n') return line;
    line.push_back(static_cast<char>(c));
    if (line.size() > kMaxLineBytes) return line;
  }
}

std::string overlongLineError(std::string_view line) {
  // Cut before a whole character, so the quote stays valid UTF-8.
  return "the line is longer than " + std::to_string(kMaxLineBytes >> 20) + " MiB: \"" +
         std::string(text::cutAtCharacter(line, kQuotedBytes)) + "\u2026\"";
}

ParsedLine splitLine(std::string_view line) {
  ParsedLine parsed;
  std::size_t i = 0;
  while (i < line.size() && isBlank(line[i])) ++i;
  if (i == line.size() || line[i] == '#') return parsed;

  while (i < line.size()) {
    if (isBlank(line[i])) {
      ++i;
      continue;
    }
    std::string word;
    if (line[i] != '"') {
      while (i < line.size() && !isBlank(line[i])) word += line[i++];
      parsed.words.push_back(std::move(word));
      continue;
    }
    ++i;  // opening quote
    bool closed = false;
    while (i < line.size()) {
      const char c = line[i++];
      if (c == '"') {
        closed = true;
        break;
      }
      if (c != '\\') {
        word += c;
        continue;
      }
      if (i == line.size()) break;
      switch (const char escaped = line[i++]) {
        case '"':
          word += '"';
          break;
        case '\\':
          word += '\\';
          break;
        case 'n':
          word += '\n';
          break;
        case 'r':
          word += '\r';
          break;
        case 't':
          word += '\t';
          break;
        default:
          parsed.words.clear();
          parsed.error = std::string("unknown escape \\") + escaped;
          return parsed;
      }
    }
    if (!closed) {
      parsed.words.clear();
      parsed.error = "unterminated quoted argument";
      return parsed;
    }
    if (i < line.size() && !isBlank(line[i])) {
      parsed.words.clear();
      parsed.error = "a quoted argument must be followed by a blank";
      return parsed;
    }
    parsed.words.push_back(std::move(word));
  }
  return parsed;
}

}  // namespace tarvine::script
