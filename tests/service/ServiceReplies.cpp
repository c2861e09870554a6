#include "ServiceReplies.h"

namespace tarvine::service::test {

namespace {

constexpr std::string_view kDeclaration = R"(<?xml version="1.0" encoding="utf-8"?>)";
constexpr std::string_view kCleanedDeclaration = R"(<?xml version="1.0" encoding="utf-8" ?>)";

std::string responseStart(std::string_view op) {
  return "<" + std::string(op) + "Response xmlns=\"" + std::string(kTestRouteNamespace) + "\"><" +
         std::string(op) + "Result>";
}

std::string responseEnd(std::string_view op) {
  return "</" + std::string(op) + "Result></" + std::string(op) + "Response>";
}

std::string soapEnvelope(std::string_view body) {
  return std::string(kDeclaration) +
         "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
         "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><soap:Body>" +
         std::string(body) + "</soap:Body></soap:Envelope>";
}

// The text with "&", "<" and ">" written as entity references.
std::string escapeForTest(std::string_view text) {
  std::string out;
  for (const char c : text) {
    out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
  }
  return out;
}

}  // namespace

std::string dataSetText(const std::vector<ReplyRow>& rows) {
  std::string text =
      "<Root><DataSet><xs:schema id=\"NewDataSet\" xmlns:xs=\""
      "http://www.w3.org/2001/XMLSchema\"><xs:element name=\"Table\"/></xs:schema>"
      "<diffgr:diffgram xmlns:msdata=\"urn:schemas-microsoft-com:xml-msdata\""
      " xmlns:diffgr=\"urn:schemas-microsoft-com:xml-diffgram-v1\"><NewDataSet>";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    text += "<Table diffgr:id=\"Table" + std::to_string(i + 1) + "\" msdata:rowOrder=\"" +
            std::to_string(i) + "\">";
    for (const auto& [name, value] : rows[i]) {
      text += "<" + name + ">" + escapeForTest(value) + "</" + name + ">";
    }
    text += "</Table>";
  }
  text += "</NewDataSet></diffgr:diffgram></DataSet></Root>";
  return text;
}

std::string soapDataSetReply(std::string_view op, std::string_view dataSet) {
  return soapEnvelope(responseStart(op) + escapeForTest(dataSet) + responseEnd(op));
}

std::string soapFaultReply(std::string_view faultString) {
  return soapEnvelope("<soap:Fault><faultcode>soap:Server</faultcode><faultstring>" +
                      escapeForTest(faultString) + "</faultstring><detail/></soap:Fault>");
}

std::string transportResult(std::string_view op, std::string_view dataSet) {
  return std::string(kCleanedDeclaration) + "\r\n" + responseStart(op) + std::string(dataSet) +
         responseEnd(op) + "\r\n";
}

std::string unwrappedReply(std::string_view dataSet) {
  return std::string(kCleanedDeclaration) + "\r\n" + std::string(dataSet) + "\r\n";
}

}  // namespace tarvine::service::test
