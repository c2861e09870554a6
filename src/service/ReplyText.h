#pragma once
// The text a reply leaves after the transport's clean-up and envelope strip (and, for a query,
// after the operation's unwrapper), step by step as plain text replacements, and the same text
// taken from the parsed reply in one pass.

#include <string>
#include <string_view>

#include "platform/XmlDocument.h"

namespace tarvine::service {

// Turns "&lt;" and "&gt;" into "<" and ">" and rewrites the version-only declaration as
// <?xml version="1.0" encoding="utf-8" ?>. Plain replacements, in that order.
std::string CleanResponseXML(std::string_view text);

// Removes the reply's envelope start tag (xmlns:soap, xmlns:xsi, xmlns:xsd in that order),
// "<soap:Body>", "</soap:Body>" and "</soap:Envelope>". Anything written differently stays.
std::string StripSOAPEnvelope(std::string_view text);

// Parses a reply's bytes where they are (XmlDocument::loadBytesInPlace) and settles the tree as
// the parse of its serialization would leave it (XmlDocument::settleAsReparsed): what is read from
// the tree is then what parsing the reply, writing it out and parsing that again gives. Returns
// whether the bytes parsed.
bool parseReply(XmlDocument& reply, std::string bytes);

// StripSOAPEnvelope(CleanResponseXML(reply.xml())): what ReturnWebserviceXML returns. Empties
// the reply once it is written out, so that its tree and its text are not held at once.
std::string takeReplyText(XmlDocument& reply);

// unwrapResponse(takeReplyText(reply), operation): the data set text of a query's reply, as the
// steps make it. For the usual reply (envelope, body, response and result elements as the route
// service writes them, the data set as the result's one text, none of the replaced tags inside
// it) the text is copied out of the tree in one pass instead: the result's text is the data set
// already unescaped, except that the steps leave every "&" written as "&amp;". Empties the
// reply.
std::string takeDataSetText(XmlDocument& reply, std::string_view operation);

}  // namespace tarvine::service
