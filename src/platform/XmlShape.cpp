#include "platform/XmlShape.h"

#include <algorithm>
#include <cstdint>

namespace tarvine::xml {
namespace {

// pugixml's records on this machine: a node holds eight pointer-sized fields, an attribute five.
constexpr std::size_t kNodeBytes = 8 * sizeof(void*);
constexpr std::size_t kAttributeBytes = 5 * sizeof(void*);

// Bytes counted in one block into byte-sized counters, a fixed number per block, so that the
// loops have no early exit and compile to vector instructions at -O2. The exact count's blocks
// look one byte past their end.
constexpr std::size_t kBlock = 128;
// The start of a text that tells which count to begin with.
constexpr std::size_t kHeadBytes = 64 * 1024;

inline std::uint8_t bit(bool b) {
  return static_cast<std::uint8_t>(b);
}

// What the exact count finds at one byte, given the one after it (0 past the end).
struct ByteFindings {
  std::uint8_t item, run;
};

inline ByteFindings findingsAt(unsigned char c, unsigned char next, bool hasNext) {
  return {bit((c == '<') & (next != '/')), bit((c == '>') & (next != '<') & hasNext)};
}

// Smallest and largest byte seen: whether any lies outside printable ASCII.
struct ByteRange {
  unsigned char smallest = 0xFF, largest = 0;
  void add(unsigned char c) {
    smallest = c < smallest ? c : smallest;
    largest = c > largest ? c : largest;
  }
  bool plainAscii() const { return smallest >= 0x20 && largest < 0x80; }
};

// The quick count: every "<" and ">" as a node, every "=" as an attribute.
TextScan quickCount(const unsigned char* bytes, std::size_t size) {
  TextScan scan;
  scan.nodes = 1;  // a text run at the very start
  ByteRange range;
  std::size_t i = 0;
  for (; i + kBlock <= size; i += kBlock) {
    const unsigned char* block = bytes + i;
    std::uint8_t marks = 0, equals = 0;
    for (std::size_t k = 0; k < kBlock; ++k) {
      marks += bit(block[k] == '<') + bit(block[k] == '>');
      equals += bit(block[k] == '=');
      range.add(block[k]);
    }
    scan.nodes += marks;
    scan.attributes += equals;
  }
  for (; i < size; ++i) {
    scan.nodes += bit(bytes[i] == '<') + bit(bytes[i] == '>');
    scan.attributes += bit(bytes[i] == '=');
    range.add(bytes[i]);
  }
  scan.plainAscii = range.plainAscii();
  return scan;
}

// The exact count (see scanText()).
TextScan exactCount(const unsigned char* bytes, std::size_t size) {
  TextScan scan;
  scan.nodes = 1;
  ByteRange range;
  std::size_t i = 0;
  for (; i + kBlock + 1 <= size; i += kBlock) {
    const unsigned char* block = bytes + i;
    std::uint8_t items = 0, runs = 0, equals = 0;
    for (std::size_t k = 0; k < kBlock; ++k) {
      const ByteFindings found = findingsAt(block[k], block[k + 1], true);
      items += found.item;
      runs += found.run;
      equals += bit(block[k] == '=');
      range.add(block[k]);
    }
    scan.nodes += items + runs;
    scan.attributes += equals;
  }
  for (; i < size; ++i) {
    const bool hasNext = i + 1 < size;
    const ByteFindings found = findingsAt(bytes[i], hasNext ? bytes[i + 1] : 0, hasNext);
    scan.nodes += found.item + found.run;
    scan.attributes += bit(bytes[i] == '=');
    range.add(bytes[i]);
  }
  scan.plainAscii = range.plainAscii();
  return scan;
}

}  // namespace

std::size_t TextScan::treeBytes() const {
  return nodes * kNodeBytes + attributes * kAttributeBytes;
}

TextScan scanText(std::string_view text, std::size_t allowedTreeBytes) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  // A text whose start already counts above the allowance per byte (a data set of many short
  // elements) goes straight to the exact count, which it would need anyway.
  const std::size_t head = std::min(text.size(), kHeadBytes);
  const bool quickFirst = quickCount(bytes, head).treeBytes() <= kTreeBytesPerByte * head;
  TextScan scan = quickFirst ? quickCount(bytes, text.size()) : exactCount(bytes, text.size());
  if (quickFirst && scan.treeBytes() > allowedTreeBytes) scan = exactCount(bytes, text.size());
  // Rare characters, found by the C library's own vector search.
  scan.ampersand = text.find('&') != std::string_view::npos;
  scan.cdataEnd = text.find("]]>") != std::string_view::npos;
  return scan;
}

std::size_t allowedTreeBytes(std::size_t textBytes) {
  return kTreeBytesPerByte * textBytes + kTreeAllowance;
}

}  // namespace tarvine::xml
