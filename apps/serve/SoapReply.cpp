#include "SoapReply.h"

#include "SoapNames.h"

namespace tarvine::serve {
namespace {

constexpr std::string_view kHead =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><soap:Body>";
constexpr std::string_view kTail = "</soap:Body></soap:Envelope>";

void appendResponseStart(std::string& out, std::string_view operation) {
  out += '<';
  out += operation;
  out += "Response xmlns=\"";
  out += kRouteNamespace;
  out += '"';
}

void appendEscapedText(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r') {
          out += c;
        }
    }
  }
}

}  // namespace

std::string resultReply(std::string_view operation, std::string resultText) {
  std::string head(kHead);
  appendResponseStart(head, operation);
  head += "><";
  head += operation;
  head += "Result>";
  // Around the text in its own buffer: a large reply is not held twice.
  resultText.insert(0, head);
  resultText += "</";
  resultText += operation;
  resultText += "Result></";
  resultText += operation;
  resultText += "Response>";
  resultText += kTail;
  return resultText;
}

std::string emptyReply(std::string_view operation) {
  std::string reply(kHead);
  appendResponseStart(reply, operation);
  reply += " />";
  reply += kTail;
  return reply;
}

std::string faultReply(FaultCode code, std::string_view message) {
  std::string reply(kHead);
  reply += "<soap:Fault><faultcode>";
  reply += faultCodeText(code);
  reply += "</faultcode><faultstring>";
  appendEscapedText(reply, message);
  reply += "</faultstring><detail /></soap:Fault>";
  reply += kTail;
  return reply;
}

std::string xmlEscaped(std::string_view text) {
  std::string out;
  appendEscapedText(out, text);
  return out;
}

std::string_view faultCodeText(FaultCode code) {
  return code == FaultCode::Client ? "soap:Client" : "soap:Server";
}

}  // namespace tarvine::serve
