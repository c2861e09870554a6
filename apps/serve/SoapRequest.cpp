#include "SoapRequest.h"

#include "RequestShape.h"
#include "SoapFault.h"
#include "SoapNames.h"
#include "ValueText.h"

namespace tarvine::serve {
namespace {

std::string_view localName(const pugi::xml_node& node) {
  const std::string_view name = node.name();
  const std::size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

std::string_view prefixOf(const pugi::xml_node& node) {
  const std::string_view name = node.name();
  const std::size_t colon = name.find(':');
  return colon == std::string_view::npos ? std::string_view() : name.substr(0, colon);
}

// The namespace URI of an element, found through the xmlns declarations of it and its
// ancestors (walked upwards, no recursion).
std::string namespaceOf(const pugi::xml_node& element) {
  const std::string_view prefix = prefixOf(element);
  const std::string attribute = prefix.empty() ? "xmlns" : "xmlns:" + std::string(prefix);
  for (pugi::xml_node node = element; node; node = node.parent()) {
    if (const pugi::xml_attribute declared = node.attribute(attribute.c_str())) {
      return declared.value();
    }
  }
  return {};
}

pugi::xml_node childElement(const pugi::xml_node& parent, std::string_view name) {
  for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_element && localName(child) == name) return child;
  }
  return {};
}

pugi::xml_node firstElement(const pugi::xml_node& parent) {
  for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_element) return child;
  }
  return {};
}

// The concatenated character data of a parameter element; a fault when it holds elements.
std::string parameterText(const pugi::xml_node& element) {
  std::string text;
  for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
      text += child.value();
    } else if (child.type() == pugi::node_element) {
      throw clientFault("parameter " + std::string(localName(element)) +
                        " must hold text, not elements");
    }
  }
  return text;
}

}  // namespace

SoapRequest SoapRequest::parse(std::string body) {
  if (body.empty()) throw clientFault("the request body is empty");
  checkRequestShape(body);
  SoapRequest request;
  // Parsed in place: the tree points into the body, which the request keeps.
  request.body_ = std::make_unique<std::string>(std::move(body));
  request.document_ = std::make_unique<pugi::xml_document>();
  const pugi::xml_parse_result parsed = request.document_->load_buffer_inplace(
      request.body_->data(), request.body_->size(), pugi::parse_default);
  if (!parsed) {
    throw clientFault(std::string("the request body is not well-formed XML: ") +
                      parsed.description() + " at offset " + std::to_string(parsed.offset));
  }
  const pugi::xml_node envelope = request.document_->document_element();
  if (localName(envelope) != "Envelope") throw clientFault("the request is not a SOAP Envelope");
  const pugi::xml_node soapBody = childElement(envelope, "Body");
  if (!soapBody) throw clientFault("the SOAP Envelope has no Body");
  request.operationNode_ = firstElement(soapBody);
  if (!request.operationNode_) throw clientFault("the SOAP Body holds no operation");
  request.operation_ = std::string(localName(request.operationNode_));
  const std::string space = namespaceOf(request.operationNode_);
  if (space != kRouteNamespace) {
    throw clientFault("operation " + request.operation_ + " is in namespace \"" + space +
                      "\", expected \"" + kRouteNamespace + "\"");
  }
  return request;
}

pugi::xml_node SoapRequest::parameter(std::string_view name) const {
  const pugi::xml_node found = childElement(operationNode_, name);
  if (!found) {
    throw clientFault(operation_ + " needs the parameter " + std::string(name));
  }
  return found;
}

bool SoapRequest::has(std::string_view name) const {
  return static_cast<bool>(childElement(operationNode_, name));
}

std::string SoapRequest::text(std::string_view name) const {
  return parameterText(parameter(name));
}

std::int64_t SoapRequest::integer(std::string_view name, std::int64_t min, std::int64_t max) const {
  const std::string value = text(name);
  const auto number = parseIntegerText(value);
  if (!number || *number < min || *number > max) {
    throw clientFault("parameter " + std::string(name) + " must be a whole number from " +
                      std::to_string(min) + " to " + std::to_string(max) + ", not " +
                      quoteForMessage(value));
  }
  return *number;
}

std::int64_t SoapRequest::cents(std::string_view name) const {
  const std::string value = text(name);
  const auto amount = parseCentsText(value);
  if (!amount) {
    throw clientFault("parameter " + std::string(name) + " must be a plain decimal number, not " +
                      quoteForMessage(value));
  }
  return *amount;
}

std::vector<std::string> SoapRequest::strings(std::string_view name) const {
  const pugi::xml_node array = parameter(name);
  std::vector<std::string> texts;
  for (pugi::xml_node child = array.first_child(); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
      throw clientFault("array " + std::string(name) + " holds text outside its string elements");
    }
    if (child.type() != pugi::node_element) continue;
    if (localName(child) != "string") {
      throw clientFault("array " + std::string(name) + " holds an element <" + child.name() +
                        ">, expected <string>");
    }
    texts.push_back(parameterText(child));
  }
  return texts;
}

}  // namespace tarvine::serve
