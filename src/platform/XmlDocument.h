#pragma once
// An XML document over pugixml with what the control expects of the desktop platform's parser:
// parse from text without exceptions, child nodes in document order, node names as written,
// node text, and the platform's serialization.

#include <pugixml.hpp>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tarvine {

// How a document keeps the text inside elements.
enum class XmlTextRuns {
  // Every run of text is a node of its own, as the desktop platform's parser keeps it.
  Nodes,
  // An element's first run of text, when nothing comes before it inside the element, is kept
  // in the element itself: one node less per element, so a data set of short values takes
  // half the memory. text(), leadingText() and the serialization read it back as the platform
  // would; only the element's children no longer list that run.
  FirstInElement,
};

// A node of an XmlDocument; valid while its document lives and is not reloaded. A default node
// is null (false in a boolean context).
class XmlNode {
 public:
  XmlNode() = default;
  explicit XmlNode(pugi::xml_node node) : node_(node) {}

  explicit operator bool() const { return static_cast<bool>(node_); }
  // Qualified name as written ("diffgr:diffgram"); "#text", "#cdata-section", "#comment" for
  // those nodes, the target name for a processing instruction or the declaration ("xml").
  std::string_view name() const;
  // The text of the node and everything inside it, concatenated in document order.
  std::string text() const;
  // text() without a copy when it is one run of the document's memory (a column of a data
  // set); nothing when it has to be joined from several runs.
  std::optional<std::string_view> textInPlace() const;
  // An element's first run of text, kept in the element by XmlTextRuns::FirstInElement; empty
  // otherwise and for every other node.
  std::string_view leadingText() const;
  XmlNode firstChild() const { return XmlNode(node_.first_child()); }
  XmlNode nextSibling() const { return XmlNode(node_.next_sibling()); }
  bool isElement() const { return node_.type() == pugi::node_element; }
  pugi::xml_node raw() const { return node_; }

 private:
  pugi::xml_node node_;
};

// The name after its prefix ("soap:Body" gives "Body"; a name without one is itself).
std::string_view localName(std::string_view qualified);

// The namespace URI that an element's prefix (or the default namespace) is bound to, looked up
// through its ancestors; empty when none is.
std::string_view namespaceOf(const pugi::xml_node& element);

// Calls f(child) for every child node of parent, in document order.
template <typename F>
void forEachChild(XmlNode parent, F&& f) {
  for (XmlNode child = parent.firstChild(); child; child = child.nextSibling()) f(child);
}

// A parsed XML document. A failed parse leaves the document empty and a non-zero error code;
// nothing throws. Only well-formed documents parse: exactly one document element, no text
// outside it, a declaration only as the very first thing (version 1.x, a well-formed encoding
// name, standalone "yes" or "no"), no repeated attribute, no "--" inside a comment, no "]]>" in
// text, names and characters as XML allows them, only the five predefined entities and
// character references. A document type declaration is kept as written but never read; one
// that declares entities is refused, because an internal entity could expand a small reply into
// gigabytes. A text that would cost more than xml::allowedTreeBytes() as a tree (many tiny
// elements, attributes or texts, or deep nesting) is refused before the tree is built
// (refusedForShape()), so that no document takes more memory than a few times its size.
class XmlDocument {
 public:
  // Parses text handed over as a string. A string is Unicode already, so it is read as UTF-8
  // whatever encoding its declaration names. Returns true when it is a well-formed document;
  // otherwise the document is empty.
  bool loadXml(std::string_view text);
  // loadXml() without a copy: the document keeps the string and parses it where it is.
  bool loadXmlInPlace(std::string text, XmlTextRuns runs = XmlTextRuns::Nodes);
  // Parses bytes as they came over the network: UTF-16 or UTF-32 by a byte-order mark or their
  // first characters, ISO-8859-1 when the declaration names it, UTF-8 otherwise. A declaration
  // that names any other encoding fails the parse, as do bytes that are not of the encoding.
  bool loadBytes(std::string_view bytes);
  // loadBytes() without a copy: the document keeps the bytes and parses them where they are.
  bool loadBytesInPlace(std::string bytes);
  // Changes the tree as parsing its serialization (xml()) again would: in texts CR LF and CR
  // become LF, and a text of nothing but blanks, tabs and line breaks goes; in attribute values
  // a tab, LF, CR or CR LF becomes one blank. Only character references leave such characters
  // after a parse, so this looks at the tree only when one of them stood for a blank, tab or
  // line break.
  void settleAsReparsed();
  // Empties the document and frees its memory, as before any parse.
  void clear();
  // The text the document was parsed from, where it was parsed: node values point into it
  // (unless the parser read the text into a buffer of its own: UTF-16, UTF-32, ISO-8859-1 above
  // ASCII), and the rest holds whatever the parse left there. Empty for those first two.
  std::string_view parsedText() const;
  // Hands over the memory of parsedText() and empties the document, so that a caller can reuse
  // it for a text made from the node values (which it must have read first).
  std::string takeParsedText();
  // 0 after a successful parse, non-zero after a failed one or before any parse.
  long parseErrorCode() const { return errorCode_; }
  // What went wrong in the last parse, for logs; empty after a successful one.
  std::string parseErrorReason() const { return errorReason_; }
  // True when the last parse refused the text for its shape (see the class comment); the
  // reason then gives the counts.
  bool refusedForShape() const { return refusedForShape_; }
  // The document node, whose children are the top-level nodes.
  XmlNode root() const { return XmlNode(doc_); }
  // Serialization: a declaration as <?xml version="1.0"?>, every top-level node followed by
  // CR LF, no indentation, prefixes and attribute order as received, "&", "<", ">" escaped in
  // text and "&", "<", '"' in attribute values. An empty document gives the empty text. Linear
  // in the document size; no recursion.
  std::string xml() const;

 private:
  bool load(std::string text, bool fromNetwork, XmlTextRuns runs);
  bool fail(long status, std::string reason);

  pugi::xml_document doc_;
  // The parsed text, which the tree points into; empty when the parser read it into a buffer of
  // its own.
  std::string buffer_;
  // Size of the text last parsed; the serialization reserves about this much.
  std::size_t loadedBytes_ = 0;
  long errorCode_ = 1;
  std::string errorReason_ = "No document loaded";
  bool refusedForShape_ = false;
  // A character reference stood for a blank, tab or line break (see settleAsReparsed()).
  bool spacesFromReferences_ = false;
};

}  // namespace tarvine
