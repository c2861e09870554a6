#pragma once
// The reply path of every service call, taken both ways for one reply body. The step-by-step
// road is the oracle: parse, serialize, parse that again and serialize, CleanResponseXML,
// StripSOAPEnvelope, each query's unwrapper, a new document of the data set with every text a
// node of its own, and a walk over its child nodes written out here. The control's road is
// checked against it: the reply parsed once where it is (parseReply), the data set text taken in
// one pass (takeDataSetText), parsed where it is with texts kept in their elements (loadDataSet),
// rows read as views (ReadDataSetRows). The steps themselves are checked against plain text
// replacement. Shared by the fuzz target and the test over the corpora.

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FuzzCheck.h"
#include "platform/RuntimeError.h"
#include "platform/Text.h"
#include "platform/XmlDocument.h"
#include "service/DataSet.h"
#include "service/ReplyText.h"
#include "service/RouteOperations.h"
#include "service/Unwrap.h"

namespace tarvine::fuzz {

// Receives each property and whether it holds.
using Check = std::function<void(bool holds, const char* property)>;

namespace replyroads {

using Rows = std::vector<std::vector<std::pair<std::string, std::string>>>;

inline std::string plainClean(std::string_view text) {
  std::string out = plainReplace(text, "&lt;", "<");
  out = plainReplace(out, "&gt;", ">");
  return plainReplace(out, R"(<?xml version="1.0"?>)",
                      R"(<?xml version="1.0" encoding="utf-8" ?>)");
}

inline std::string plainStrip(std::string_view text) {
  std::string out =
      plainReplace(text,
                   R"(<soap:Envelope xmlns:soap="http://schemas.xmlsoap.org/soap/envelope/")"
                   R"( xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance")"
                   R"( xmlns:xsd="http://www.w3.org/2001/XMLSchema">)",
                   "");
  for (std::string_view tag : {"<soap:Body>", "</soap:Body>", "</soap:Envelope>"}) {
    out = plainReplace(out, tag, "");
  }
  return out;
}

// The text of a node as the platform gives it: every text and CDATA node inside it, in order.
inline std::string nodeText(pugi::xml_node top) {
  if (top.type() != pugi::node_element && top.type() != pugi::node_document) return top.value();
  std::string text;
  for (pugi::xml_node node = top.first_child(); node;) {
    if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) text += node.value();
    if (node.first_child()) {
      node = node.first_child();
      continue;
    }
    while (node != top && !node.next_sibling()) node = node.parent();
    if (node == top) break;
    node = node.next_sibling();
  }
  return text;
}

// The platform's node name (the name mapping is not what the two roads differ in).
inline std::string nodeName(pugi::xml_node node) {
  return std::string(tarvine::XmlNode(node).name());
}

// The walk step by step, over a document whose texts are all nodes.
inline Rows stepwiseRows(const tarvine::XmlDocument& document) {
  Rows rows;
  if (document.parseErrorCode() != 0) return rows;
  auto named = [](pugi::xml_node parent, const char* name) {
    std::vector<pugi::xml_node> found;
    for (pugi::xml_node child : parent.children()) {
      if (nodeName(child) == name) found.push_back(child);
    }
    return found;
  };
  for (pugi::xml_node root : named(document.root().raw(), "Root"))
    for (pugi::xml_node dataSet : named(root, "DataSet"))
      for (pugi::xml_node diffgram : named(dataSet, "diffgr:diffgram"))
        for (pugi::xml_node newDataSet : named(diffgram, "NewDataSet"))
          for (pugi::xml_node table : named(newDataSet, "Table")) {
            auto& row = rows.emplace_back();
            // Column values are escaped once more inside the data set; both roads decode
            // that level with the same rule, so only how the texts are found is compared.
            for (pugi::xml_node column : table.children()) {
              row.emplace_back(nodeName(column), tarvine::text::unescapeXml(nodeText(column)));
            }
          }
  return rows;
}

inline Rows roadRows(const tarvine::XmlDocument& document) {
  Rows rows;
  tarvine::service::ReadDataSetRows(document, [&](const tarvine::service::DataSetRow& row) {
    auto& copy = rows.emplace_back();
    for (const auto& column : row) copy.emplace_back(column.name, column.text);
  });
  return rows;
}

inline void checkSameParse(const tarvine::XmlDocument& stepwise, const tarvine::XmlDocument& road,
                           const Check& check) {
  check(stepwise.parseErrorCode() == road.parseErrorCode(), "both parses succeed or fail alike");
  check(stepwise.parseErrorReason() == road.parseErrorReason(), "both parses fail for one reason");
  check(stepwise.refusedForShape() == road.refusedForShape(), "both refuse for shape alike");
}

}  // namespace replyroads

// Takes one reply body both ways and hands every property to check.
inline void checkReplyRoads(std::string_view body, const Check& check) {
  using namespace replyroads;
  XmlDocument response;
  XmlDocument inPlace;
  response.loadBytes(body);
  service::parseReply(inPlace, std::string(body));
  checkSameParse(response, inPlace, check);
  // A body that is not XML gives the empty result; nothing more happens to it.
  if (response.parseErrorCode() != 0) return;
  // The steps parse the reply, write it out and parse that again.
  XmlDocument again;
  check(again.loadXml(response.xml()), "a serialized reply parses again");
  const std::string serialized = again.xml();
  check(inPlace.xml() == serialized, "the reply parsed once and settled is the second parse");

  const std::string cleaned = service::CleanResponseXML(serialized);
  check(cleaned == plainClean(serialized), "the clean-up is plain replacement");
  const std::string result = service::StripSOAPEnvelope(cleaned);
  check(result == plainStrip(cleaned), "the envelope strip is plain replacement");
  check(service::takeReplyText(inPlace) == result, "the transport's text is the steps' text");

  for (const service::RouteOperation& operation : service::kRouteOperations) {
    if (operation.updateOnly) continue;
    const std::string stepwise = service::unwrapResponse(result, operation.name);
    XmlDocument reply;
    service::parseReply(reply, std::string(body));
    const std::string taken = service::takeDataSetText(reply, operation.name);
    check(taken == stepwise, "the data set text taken in one pass is the steps' text");

    XmlDocument stepwiseDataSet;
    stepwiseDataSet.loadXml(stepwise);
    XmlDocument roadDataSet;
    try {
      service::loadDataSet(roadDataSet, taken);
    } catch (const RuntimeError&) {
      check(roadDataSet.refusedForShape(), "only a shape refusal throws");
    }
    checkSameParse(stepwiseDataSet, roadDataSet, check);
    check(roadRows(roadDataSet) == stepwiseRows(stepwiseDataSet),
          "the rows read as views are the rows of the step-by-step walk");
  }
}

}  // namespace tarvine::fuzz
