// The reference route service's statement grammar, fed arbitrary statement texts; and the
// control's statement texts built around an arbitrary order id, which the service must read
// back as the control meant them, whatever the id holds.

#include <variant>

#include "FuzzCheck.h"
#include "StatementParser.h"
#include "ValueText.h"
#include "platform/XmlDocument.h"
#include "save/Statements.h"
#include "service/Requests.h"

namespace {

using namespace tarvine;
using fuzz::check;

std::optional<serve::OrderStatement> parsed(const std::string& text) {
  try {
    return serve::parseOrderStatement(text);
  } catch (const serve::StatementSyntaxError&) {
    return std::nullopt;
  }
}

void checkUpdateReadsBack(bool onLoad, const std::string& orderId) {
  const auto statement = parsed(updateStatement(onLoad, 5001, "1,234.50", 12, orderId, "3"));
  check(statement && std::holds_alternative<serve::SegmentAssignment>(*statement),
        "the control's update statement is accepted");
  const auto& assignment = std::get<serve::SegmentAssignment>(*statement);
  check(assignment.loadId == (onLoad ? std::optional<std::int64_t>(5001) : std::nullopt),
        "the load reads back");
  check(assignment.freightCents == 123450 && assignment.centerId == 12 && assignment.segment == 3,
        "freight, center and segment read back");
  check(assignment.orderId == orderId, "the order id reads back");
}

void checkHistoryReadsBack(const std::string& orderId) {
  const auto statement = parsed(historyStatement(5, orderId, -7, 32767, -32768));
  check(statement && std::holds_alternative<serve::ProgressEntry>(*statement),
        "the control's history statement is accepted");
  const auto& entry = std::get<serve::ProgressEntry>(*statement);
  check(entry.code == 5 && entry.segment == -7 && entry.personId == 32767 &&
            entry.personTypeId == -32768 && entry.orderId == orderId,
        "the history statement reads back");
}

// The update request made in one pass is refused exactly when the transport's parse refuses the
// envelope, and is otherwise that envelope parsed and written out.
void checkWrittenUpdate(const std::string& text) {
  const std::vector<std::string> statements{text,
                                            updateStatement(true, 5001, "1.00", 12, text, "3"), ""};
  XmlDocument document;
  const bool parses = document.loadXml(service::UpdateOutgoingLoadOrderEnvelope(statements));
  const std::optional<std::string> written =
      service::writtenUpdateOutgoingLoadOrderRequest(statements);
  check(written.has_value() == parses, "the one-pass update is refused as the parse refuses it");
  check(!written || *written == document.xml(), "the one-pass update is the envelope written out");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(fuzz::inputText(data, size));
  parsed(text);
  serve::parseIntegerText(text);
  serve::parseCentsText(text);
  checkUpdateReadsBack(true, text);
  checkUpdateReadsBack(false, text);
  checkHistoryReadsBack(text);
  checkWrittenUpdate(text);
  return 0;
}
