#pragma once
// One look at a text before the parser builds a tree of it: what the tree would cost (a reply of
// 200 MB of tiny elements would otherwise take gigabytes before anything could refuse it), and
// which checks after the parse can be skipped because nothing in the text calls for them.

#include <cstddef>
#include <string_view>

namespace tarvine::xml {

// Upper bounds of the nodes and attributes pugixml makes of a text, and what else the look
// found.
struct TextScan {
  std::size_t nodes = 0;       // elements, texts, comments, instructions, declarations
  std::size_t attributes = 0;  // attributes, namespace declarations included
  bool plainAscii = true;      // no byte above 0x7F or below 0x20 (a line break counts)
  bool ampersand = false;      // an "&" somewhere
  bool cdataEnd = false;       // "]]>" somewhere
  // Bytes the tree takes at most (pugixml's node and attribute records; the texts stay in the
  // parsed buffer).
  std::size_t treeBytes() const;
};

// Counts without parsing, in passes that the compiler turns into vector instructions. A quick
// count looks at each byte alone: every node starts with "<" or follows a ">" (or starts the
// text), every attribute has an "=". The exact count also looks at the byte after each "<" and
// ">", as pugixml makes nodes: an end tag ("</") makes none, nor does a ">" followed by "<". The
// quick count comes first, unless the text's first 64 KiB already count more than the tree may
// take per byte (a data set of many short elements); the exact count follows only when the quick
// one would cost more than allowedTreeBytes. Never fewer than pugixml makes; more when those
// characters stand in texts or values, or when a text run is only blanks (which pugixml drops).
TextScan scanText(std::string_view text, std::size_t allowedTreeBytes);

// The largest tree a text of this size may cost: kTreeBytesPerByte times its size, plus
// kTreeAllowance for small documents.
std::size_t allowedTreeBytes(std::size_t textBytes);

// A tree may take this many times its text's size: a route service data set takes about 3.6
// (long column names around short values); a text of tiny elements ("<a/>") would take 16.
inline constexpr std::size_t kTreeBytesPerByte = 6;
inline constexpr std::size_t kTreeAllowance = std::size_t{8} << 20;

}  // namespace tarvine::xml
