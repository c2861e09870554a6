#include "StatementParser.h"

#include <limits>

#include "ValueText.h"

namespace tarvine::serve {
namespace {

enum class TokenKind { Word, Number, Quoted, Equals, Comma, End };

struct Token {
  TokenKind kind = TokenKind::End;
  std::string text;  // the word, the number as written, or the unquoted text
  std::size_t column = 0;
};

constexpr auto npos = std::string::npos;

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool isWordStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool isWordChar(char c) {
  return isWordStart(c) || isDigit(c) || c == '.';
}

char lowered(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lowered(a[i]) != lowered(b[i])) return false;
  }
  return true;
}

// Splits the text into tokens one at a time and checks what may follow each.
class Lexer {
 public:
  explicit Lexer(std::string_view text) : text_(text) {}

  Token next() {
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
    Token token;
    token.column = pos_ + 1;
    if (pos_ == text_.size()) return token;
    const char c = text_[pos_];
    if (c == '=' || c == ',') {
      token.kind = c == '=' ? TokenKind::Equals : TokenKind::Comma;
      ++pos_;
    } else if (c == '\'') {
      token.kind = TokenKind::Quoted;
      token.text = readQuoted(token.column);
      expectSeparator(token.column);
    } else if (isDigit(c) || c == '-') {
      token.kind = TokenKind::Number;
      token.text = readNumber(token.column);
      expectSeparator(token.column);
    } else if (isWordStart(c)) {
      token.kind = TokenKind::Word;
      const std::size_t start = pos_;
      while (pos_ < text_.size() && isWordChar(text_[pos_])) ++pos_;
      token.text = std::string(text_.substr(start, pos_ - start));
      expectSeparator(token.column);
    } else {
      throw error("unexpected character '" + std::string(1, c) + "'", token.column);
    }
    return token;
  }

  static StatementSyntaxError error(const std::string& message, std::size_t column) {
    return StatementSyntaxError(message + " at column " + std::to_string(column));
  }

 private:
  std::string readQuoted(std::size_t column) {
    std::string value;
    ++pos_;
    while (pos_ < text_.size()) {
      const char c = text_[pos_++];
      if (c != '\'') {
        value += c;
      } else if (pos_ < text_.size() && text_[pos_] == '\'') {
        value += '\'';
        ++pos_;
      } else {
        return value;
      }
    }
    throw error("missing closing quote of the text", column);
  }

  std::string readNumber(std::size_t column) {
    const std::size_t start = pos_;
    if (text_[pos_] == '-') ++pos_;
    const std::size_t digits = pos_;
    while (pos_ < text_.size() && isDigit(text_[pos_])) ++pos_;
    if (pos_ == digits) throw error("a digit must follow '-'", column);
    if (pos_ < text_.size() && text_[pos_] == '.') {
      const std::size_t fraction = ++pos_;
      while (pos_ < text_.size() && isDigit(text_[pos_])) ++pos_;
      if (pos_ == fraction) throw error("a digit must follow '.'", column);
    }
    return std::string(text_.substr(start, pos_ - start));
  }

  // Words, numbers and texts end at a blank, "=", "," or the end of the statement.
  void expectSeparator(std::size_t column) const {
    if (pos_ == text_.size()) return;
    const char c = text_[pos_];
    if (c != ' ' && c != '=' && c != ',') {
      throw error("unexpected '" + std::string(1, c) + "' after the token", column);
    }
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

// The grammar: a sequence of expectations over the tokens.
class Grammar {
 public:
  explicit Grammar(std::string_view text) : lexer_(text) { advance(); }

  bool atWord(std::string_view word) const {
    return current_.kind == TokenKind::Word && sameWord(current_.text, word);
  }

  void word(std::string_view expected) {
    if (!atWord(expected)) fail(std::string(expected));
    advance();
  }

  void symbol(TokenKind kind) {
    if (current_.kind != kind) fail(kind == TokenKind::Equals ? "'='" : "','");
    advance();
  }

  std::int64_t integer() {
    const bool whole = current_.kind == TokenKind::Number && current_.text.find('.') == npos;
    const auto value = whole ? parseIntegerText(current_.text) : std::nullopt;
    if (!whole) fail("a whole number");
    if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
        *value > std::numeric_limits<std::int32_t>::max()) {
      fail("a whole number in range");
    }
    advance();
    return *value;
  }

  std::int64_t cents() {
    if (current_.kind != TokenKind::Number) fail("an amount");
    const auto value = parseCentsText(current_.text);
    if (!value) fail("an amount in range");
    advance();
    return *value;
  }

  std::size_t column() const { return current_.column; }

  std::string quoted() {
    if (current_.kind != TokenKind::Quoted) fail("a quoted text");
    std::string value = std::move(current_.text);
    advance();
    return value;
  }

  void end() {
    if (current_.kind != TokenKind::End) fail("the end of the statement");
  }

 private:
  void advance() { current_ = lexer_.next(); }

  [[noreturn]] void fail(const std::string& expected) const {
    throw Lexer::error("expected " + expected, current_.column);
  }

  Lexer lexer_;
  Token current_;
};

SegmentAssignment parseAssignment(Grammar& g) {
  SegmentAssignment statement;
  g.word("Update");
  g.word("VOZA_OrderHeader");
  g.word("Set");
  g.word("VOZA_OrderHeader.OutgoingLoad");
  g.symbol(TokenKind::Equals);
  if (g.atWord("Null")) {
    g.word("Null");
  } else {
    statement.loadId = g.integer();
  }
  g.symbol(TokenKind::Comma);
  g.word("Freight");
  g.symbol(TokenKind::Equals);
  statement.freightCents = g.cents();
  g.word("Where");
  g.word("CenterID");
  g.symbol(TokenKind::Equals);
  statement.centerId = g.integer();
  g.word("and");
  g.word("OrderID");
  g.symbol(TokenKind::Equals);
  statement.orderId = g.quoted();
  g.word("and");
  g.word("VOZA_OrderSegment");
  g.symbol(TokenKind::Equals);
  statement.segment = g.integer();
  g.end();
  return statement;
}

ProgressEntry parseProgress(Grammar& g) {
  ProgressEntry statement;
  g.word("EXECUTE");
  g.word("spVOZAOrderProgressHistoryOutgoingLoadAdd");
  const std::size_t codeColumn = g.column();
  statement.code = g.integer();
  if (statement.code != 2 && statement.code != 5) {
    throw Lexer::error("expected progress code 2 or 5", codeColumn);
  }
  g.symbol(TokenKind::Comma);
  statement.orderId = g.quoted();
  g.symbol(TokenKind::Comma);
  statement.segment = g.integer();
  g.symbol(TokenKind::Comma);
  statement.personId = g.integer();
  g.symbol(TokenKind::Comma);
  statement.personTypeId = g.integer();
  g.end();
  return statement;
}

}  // namespace

std::optional<OrderStatement> parseOrderStatement(std::string_view text) {
  if (text.empty()) return std::nullopt;
  Grammar grammar(text);
  if (grammar.atWord("Update")) return parseAssignment(grammar);
  if (grammar.atWord("EXECUTE")) return parseProgress(grammar);
  throw Lexer::error("expected Update or EXECUTE", 1);
}

}  // namespace tarvine::serve
