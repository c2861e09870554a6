#include "platform/XmlShape.h"

#include <cstdint>

namespace tarvine::xml {
namespace {

// pugixml's records on this machine: a node holds eight pointer-sized fields, an attribute five.
constexpr std::size_t kNodeBytes = 8 * sizeof(void*);
constexpr std::size_t kAttributeBytes = 5 * sizeof(void*);

// Bytes counted in one block into byte-sized counters, a fixed number per block, so that the
// loop has no early exit and compiles to vector instructions at -O2. Each block looks one byte
// past its end.
constexpr std::size_t kBlock = 128;

// What the scan counts at one byte, given the one after it (0 past the end).
struct ByteFindings {
  std::uint8_t item, run, equals, outside;
};

inline ByteFindings findingsAt(unsigned char c, unsigned char next, bool hasNext) {
  const auto bit = [](bool b) { return static_cast<std::uint8_t>(b); };
  // Bytes above 0x7F are negative as signed characters: one comparison finds them and the
  // control characters together.
  return {bit((c == '<') & (next != '/')), bit((c == '>') & (next != '<') & hasNext), bit(c == '='),
          bit(static_cast<signed char>(c) < 0x20)};
}

}  // namespace

std::size_t TextScan::treeBytes() const {
  return nodes * kNodeBytes + attributes * kAttributeBytes;
}

TextScan scanText(std::string_view text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  TextScan scan;
  scan.nodes = 1;  // a text run at the very start
  std::uint8_t outside = 0;
  std::size_t i = 0;
  for (; i + kBlock + 1 <= size; i += kBlock) {
    const unsigned char* block = bytes + i;
    std::uint8_t items = 0, runs = 0, equals = 0;
    for (std::size_t k = 0; k < kBlock; ++k) {
      const ByteFindings found = findingsAt(block[k], block[k + 1], true);
      items += found.item;
      runs += found.run;
      equals += found.equals;
      outside |= found.outside;
    }
    scan.nodes += items + runs;
    scan.attributes += equals;
  }
  for (; i < size; ++i) {
    const bool hasNext = i + 1 < size;
    const ByteFindings found = findingsAt(bytes[i], hasNext ? bytes[i + 1] : 0, hasNext);
    scan.nodes += found.item + found.run;
    scan.attributes += found.equals;
    outside |= found.outside;
  }
  scan.plainAscii = !outside;
  // Rare characters, found by the C library's own vector search.
  scan.ampersand = text.find('&') != std::string_view::npos;
  scan.cdataEnd = text.find("]]>") != std::string_view::npos;
  return scan;
}

std::size_t allowedTreeBytes(std::size_t textBytes) {
  return kTreeBytesPerByte * textBytes + kTreeAllowance;
}

}  // namespace tarvine::xml
