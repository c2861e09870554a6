#pragma once
// The well-formedness rules of XML that the document checks after pugixml's parse: pugixml is
// lenient where a conforming parser refuses (repeated attributes, "--" in comments, references,
// misplaced declarations). Used by XmlDocument only.

#include <pugixml.hpp>

#include <cstddef>
#include <string_view>

namespace tarvine::xml {

// A failed rule: the status reported as the parse error code and a reason for logs.
struct Refusal {
  pugi::xml_parse_status status = pugi::status_ok;
  const char* reason = "";
  explicit operator bool() const { return status != pugi::status_ok; }
};

// The node after `node` in document order inside the subtree of `top`, or null at its end.
// Walks the parent links, so it needs no stack however deep the tree is.
inline pugi::xml_node nextInSubtree(pugi::xml_node node, pugi::xml_node top) {
  if (pugi::xml_node child = node.first_child()) return child;
  while (node != top) {
    if (pugi::xml_node sibling = node.next_sibling()) return sibling;
    node = node.parent();
  }
  return {};
}

// Position of the first byte that does not start well-formed UTF-8 of an XML character, or
// npos. Also tells whether any byte above 0x7F was seen before that point.
std::size_t firstInvalidCharacter(std::string_view text, bool* sawNonAscii = nullptr);

// The rules about what stands before the document element: a declaration only as the very first
// thing of the text (after a byte-order mark), its version 1.x, its encoding a well-formed name,
// its standalone "yes" or "no"; one document type declaration at most, before the element, and
// none that declares entities; exactly one element; no text outside it. `head` is the start of the
// input as given (32 bytes suffice) and `encoding` the one the parser read it in.
Refusal checkProlog(const pugi::xml_document& doc, std::string_view head,
                    pugi::xml_encoding encoding);

// What a look at the text before the parse found, so that checks that cannot fail are skipped.
struct TextTraits {
  bool nonAscii = false;    // bytes above ASCII: names need the full check
  bool cdataEnd = false;    // "]]>" somewhere: texts need a look for it
  bool references = false;  // "&" somewhere: texts and values need decoding
  bool converted = false;   // not UTF-8: the parser converted it, nothing was checked before
};

// Checks every node and decodes the references the parser left alone, in the tree's own memory
// (an element's own first run of text included): repeated attributes, names (when the text held
// characters above ASCII), "--" in comments, "]]>" in text (when the text held it at all),
// processing instructions named "xml", and stray or unknown references. When the text was
// converted, names and values are also checked for characters XML forbids. Sets
// spacesFromReferences when a character reference stood for a blank, tab or line break.
Refusal checkAndDecodeNodes(pugi::xml_document& doc, const TextTraits& traits,
                            bool& spacesFromReferences);

// Changes a checked and decoded tree as parsing its serialization again would: in texts CR LF
// and CR become LF, and a text of nothing but blanks, tabs and line breaks goes (an element's own
// first run of text becomes empty); in attribute values a tab, LF, CR or CR LF becomes one blank.
void settleAsReparsed(pugi::xml_document& doc);

}  // namespace tarvine::xml
