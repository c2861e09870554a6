#include "service/Requests.h"

#include "platform/Convert.h"
#include "platform/Text.h"
#include "platform/XmlDocument.h"
#include "platform/XmlRules.h"
#include "service/Envelope.h"
#include "service/RouteOperations.h"

namespace tarvine::service {

namespace {

// <Op xmlns="route namespace">
std::string operationStart(std::string_view op) {
  std::string text = "<";
  text += op;
  text += " xmlns=\"";
  text += kRouteNamespace;
  text += "\">";
  return text;
}

// </Op>
std::string operationEnd(std::string_view op) {
  std::string text = "</";
  text += op;
  text += ">";
  return text;
}

// prefix + <tag>value</tag>, the value already in its written form.
void appendElement(std::string& body, std::string_view prefix, std::string_view tag,
                   std::string_view value) {
  body += prefix;
  body += '<';
  body += tag;
  body += '>';
  body += value;
  body += "</";
  body += tag;
  body += '>';
}

constexpr std::string_view kSixBlanks = "      ";

// The body shared by the three queries that take only the load id.
std::string loadIdRequest(std::string_view op, std::int16_t loadId) {
  std::string body = operationStart(op);
  appendElement(body, kSixBlanks, "OutgoingLoadID", convert::integerText(loadId));
  body += operationEnd(op);
  return envelopeFor(body);
}

}  // namespace

std::string GetOutgoingLoadAllOrdersRequest(std::int16_t loadId, std::string_view facilityId) {
  const std::string_view op = kGetOutgoingLoadAllOrders.name;
  std::string body = operationStart(op);
  appendElement(body, kSixBlanks, "OutgoingLoadID", convert::integerText(loadId));
  appendElement(body, kSixBlanks, "FacilityID", text::escapeXmlText(facilityId));
  body += operationEnd(op);
  return envelopeFor(body);
}

std::string GetOutgoingLoadBasicTotalRequest(std::int16_t loadId) {
  return loadIdRequest(kGetOutgoingLoadBasicTotal.name, loadId);
}

std::string GetOutgoingLoadCenterIDAndCenterRequest(std::int16_t loadId) {
  return loadIdRequest(kGetOutgoingLoadCenterIDAndCenter.name, loadId);
}

std::string GetOutgoingLoadDescriptionRouteRequest(std::int16_t loadId) {
  return loadIdRequest(kGetOutgoingLoadDescriptionRoute.name, loadId);
}

std::string IsPOFoundRequest(std::string_view orderId) {
  const std::string_view op = kIsPOFound.name;
  std::string body = operationStart(op);
  appendElement(body, kSixBlanks, "OrderID", text::escapeXmlText(orderId));
  body += operationEnd(op);
  return envelopeFor(body);
}

std::string AddAstrayPORequest(std::string_view orderId, std::int16_t segment, double freight,
                               std::int16_t cartons, std::string_view comment,
                               std::int16_t loadId) {
  const std::string_view op = kAddAstrayPO.name;
  std::string body = operationStart(op);
  appendElement(body, " ", "OrderID", text::escapeXmlText(orderId));
  appendElement(body, " ", "OrderSegment", convert::integerText(segment));
  appendElement(body, " ", "Freight", convert::doubleText(freight));
  appendElement(body, " ", "Cartons", convert::integerText(cartons));
  appendElement(body, " ", "OutgoingLoadID", convert::integerText(loadId));
  appendElement(body, " ", "Comment", text::escapeXmlText(comment));
  body += operationEnd(op);
  return envelopeFor(body);
}

std::string UpdateOutgoingLoadOrderEnvelope(const std::vector<std::string>& statements) {
  const std::string_view op = kUpdateOutgoingLoadOrder.name;
  // The statements go where the placeholder stands in the envelope written around it, so text
  // inside a statement is never taken for a placeholder. One string is written from start to end:
  // a save of every row of a large load sends megabytes.
  constexpr std::string_view kPlaceholder = "OutgoingLoadBody";
  const std::string outer = envelopeFor(operationStart(op) + std::string(kSixBlanks) +
                                        std::string(kPlaceholder) + " " + operationEnd(op));
  const std::size_t at = outer.find(kPlaceholder);
  constexpr std::string_view kElement = "<string></string>\r\n";
  std::size_t size = outer.size();
  for (const std::string& statement : statements) size += statement.size() + kElement.size();
  std::string envelope;
  envelope.reserve(size + size / 16);
  envelope.append(outer, 0, at);
  envelope += "<OutgoingLoadOrderArray>";
  for (const std::string& statement : statements) {
    envelope += "<string>";
    text::appendEscapedXmlText(envelope, statement);
    envelope += "</string>\r\n";
  }
  envelope += "</OutgoingLoadOrderArray>";
  envelope.append(outer, at + kPlaceholder.size());
  return envelope;
}

namespace {

// The written update request around its statements, taken from the written form of an envelope
// with one plain statement, so that it is what the parse and write-out make of the envelope.
struct WrittenUpdateFrame {
  std::string head, tail;
};

WrittenUpdateFrame writtenUpdateFrame() {
  constexpr std::string_view kItem = "<string>X</string>";
  XmlDocument document;
  document.loadXml(UpdateOutgoingLoadOrderEnvelope({"X"}));
  const std::string written = document.xml();
  const std::size_t at = written.find(kItem);
  return {written.substr(0, at), written.substr(at + kItem.size())};
}

bool isBlank(std::string_view text) {
  return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// A statement as its string element is written after the parse: a text of blanks only is
// dropped (an empty element), line breaks are LF, "&", "<" and ">" escaped.
void appendWrittenItem(std::string& body, const std::string& statement) {
  if (isBlank(statement)) {
    body += "<string/>";
    return;
  }
  body += "<string>";
  if (statement.find('\r') == std::string::npos) {
    text::appendEscapedXmlText(body, statement);
  } else {
    text::appendEscapedXmlText(
        body, text::replaceAll(text::replaceAll(statement, "\r\n", "\n"), "\r", "\n"));
  }
  body += "</string>";
}

}  // namespace

std::optional<std::string> writtenUpdateOutgoingLoadOrderRequest(
    const std::vector<std::string>& statements) {
  std::size_t size = 0;
  for (const std::string& statement : statements) {
    if (xml::firstInvalidCharacter(statement) != std::string_view::npos) return std::nullopt;
    size += statement.size() + 20;
  }
  static const WrittenUpdateFrame frame = writtenUpdateFrame();
  std::string body;
  body.reserve(frame.head.size() + size + size / 16 + frame.tail.size());
  body += frame.head;
  for (const std::string& statement : statements) appendWrittenItem(body, statement);
  body += frame.tail;
  return body;
}

}  // namespace tarvine::service
