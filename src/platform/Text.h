#pragma once
// Plain text operations shared by the layers above, each written once: replacing, ASCII letter
// case, XML text escaping, walking UTF-8 and escaping texts for a log line. Also linked on its
// own by the reference route service (target tarvine_text), which shares no other code.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvine::text {

// Replaces every occurrence of search, scanning from the start; inserted text is not searched
// again (the platform's Replace). An empty search text leaves the text as it is. Linear.
std::string replaceAll(std::string_view text, std::string_view search,
                       std::string_view replacement);

// In-place form of replaceAll().
void replaceAllInPlace(std::string& text, std::string_view search, std::string_view replacement);

// The character with an ASCII capital letter made small; every other byte as it is.
constexpr char lowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when the texts are equal with ASCII letters compared without their case (other bytes,
// UTF-8 included, must be equal). Linear.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// Appends the text with "&", "<" and ">" written as "&amp;", "&lt;" and "&gt;"; quotes and
// everything else unchanged, so a text without those three comes back as it is. Never fails.
void appendEscapedXmlText(std::string& out, std::string_view text);
// appendEscapedXmlText() into a string of its own.
std::string escapeXmlText(std::string_view text);
// Appends an attribute value (written between double quotes) with "&", "<" and the double
// quote written as "&amp;", "&lt;" and "&quot;". Never fails.
void appendEscapedXmlAttribute(std::string& out, std::string_view text);

// The text with its XML entity references decoded: &amp; &lt; &gt; &quot; &apos; and the
// character references &#N; and &#xN; (as UTF-8). Anything else, a lone "&" included, stays as
// it is. Linear; never fails but for memory.
std::string unescapeXml(std::string_view text);

// One UTF-8 character: its code point and how many bytes it takes (0 when the bytes are not
// one well-formed character: a stray continuation byte, a cut or overlong sequence, a surrogate
// or a value beyond U+10FFFF).
struct Utf8Char {
  std::uint32_t code = 0;
  std::size_t length = 0;
};

// The character that starts at text[at] (at < text.size()).
Utf8Char decodeUtf8(std::string_view text, std::size_t at);

// Writes code (a Unicode scalar value) as UTF-8 at out, which has room for four bytes; returns
// the bytes written.
std::size_t writeUtf8(std::uint32_t code, char* out);

// The character a character reference names ("#65" or "#x41", between "&" and ";"): any Unicode
// scalar value but 0; nothing for a name that is not such a reference.
std::optional<std::uint32_t> characterReference(std::string_view name);

// The longest start of the text of at most maxBytes bytes that does not end inside a character,
// so that a cut UTF-8 text stays UTF-8.
std::string_view cutAtCharacter(std::string_view text, std::size_t maxBytes);

// The text with everything that could break or forge a log line written as a visible escape:
// the backslash as \\, CR, LF and tab as \r \n \t, the other ASCII controls and DEL as \xNN, the
// C1 controls (U+0080 to U+009F) and the line and paragraph separators (U+2028, U+2029) as
// \uNNNN, and each byte that is not part of well-formed UTF-8 as \xNN. Everything else stays.
std::string escapeForLog(std::string_view text);

// The text with only the characters beyond ASCII that readers take as line breaks (the C1
// controls, U+2028, U+2029) written as \uNNNN: for a JSON text, whose writer keeps them raw.
std::string escapeUnicodeBreaks(std::string_view text);

}  // namespace tarvine::text
