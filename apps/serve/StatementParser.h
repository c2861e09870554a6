// The statement texts that UpdateOutgoingLoadOrder accepts, read by a strict grammar.
//
//   Update VOZA_OrderHeader Set VOZA_OrderHeader.OutgoingLoad = <int | Null>, Freight = <decimal>
//     Where CenterID = <int> and OrderID = '<text>' and VOZA_OrderSegment = <int>
//   EXECUTE spVOZAOrderProgressHistoryOutgoingLoadAdd <2 | 5>, '<text>', <int>, <int>, <int>
//
// Keywords and names are case-insensitive; blanks may repeat between tokens and may be left out
// around "=" and ","; quotes inside a text are doubled; numbers are plain decimals with "." and
// no grouping. Nothing else (comments, ";", further statements) is accepted.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

namespace tarvine::serve {

// Puts one order segment on a load (loadId set) or takes it off any load (loadId empty),
// storing the freight shown for it.
struct SegmentAssignment {
  std::optional<std::int64_t> loadId;
  std::int64_t freightCents = 0;
  std::int64_t centerId = 0;
  std::string orderId;
  std::int64_t segment = 0;
};

// Records one step in an order's progress history: code 2 = put on a load, 5 = taken off.
struct ProgressEntry {
  std::int64_t code = 0;
  std::string orderId;
  std::int64_t segment = 0;
  std::int64_t personId = 0;
  std::int64_t personTypeId = 0;
};

// One accepted statement.
using OrderStatement = std::variant<SegmentAssignment, ProgressEntry>;

// Raised for a text that is not one of the accepted shapes; what() says what was expected where.
class StatementSyntaxError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads one statement text. The empty text gives nothing (it is skipped); any other text that
// is not an accepted shape throws StatementSyntaxError.
std::optional<OrderStatement> parseOrderStatement(std::string_view text);

}  // namespace tarvine::serve
