#include "Wsdl.h"

#include <array>

#include "SoapNames.h"
#include "SoapReply.h"

namespace tarvine::serve {
namespace {

// One request parameter: its name and XML Schema type.
struct Parameter {
  std::string_view name;
  std::string_view type;
};

struct OperationShape {
  std::string_view name;
  std::array<Parameter, 6> parameters;
  bool query;  // answers a data set in OpResult; otherwise an empty response
};

constexpr Parameter kLoad{"OutgoingLoadID", "s:short"};

constexpr std::array<OperationShape, 7> kOperations{{
    {"GetOutgoingLoadCenterIDAndCenter", {kLoad}, true},
    {"GetOutgoingLoadDescriptionRoute", {kLoad}, true},
    {"GetOutgoingLoadAllOrders", {kLoad, {"FacilityID", "s:string"}}, true},
    {"GetOutgoingLoadBasicTotal", {kLoad}, true},
    {"IsPOFound", {{{"OrderID", "s:string"}}}, true},
    {"UpdateOutgoingLoadOrder", {{{"OutgoingLoadOrderArray", "tns:ArrayOfString"}}}, false},
    {"AddAstrayPO",
     {{{"OrderID", "s:string"},
       {"OrderSegment", "s:short"},
       {"Freight", "s:decimal"},
       {"Cartons", "s:short"},
       kLoad,
       {"Comment", "s:string"}}},
     false},
}};

std::string schemaElements(const OperationShape& op) {
  const std::string name(op.name);
  std::string text = "<s:element name=\"" + name + "\"><s:complexType><s:sequence>";
  for (const Parameter& parameter : op.parameters) {
    if (parameter.name.empty()) break;
    const bool mayBeLeftOut = parameter.type == "s:string" || parameter.type == "tns:ArrayOfString";
    text += "<s:element minOccurs=\"" + std::string(mayBeLeftOut ? "0" : "1") +
            "\" maxOccurs=\"1\" name=\"" + std::string(parameter.name) + "\" type=\"" +
            std::string(parameter.type) + "\"/>";
  }
  text += "</s:sequence></s:complexType></s:element>";
  text += "<s:element name=\"" + name + "Response\"><s:complexType>";
  if (op.query) {
    text += "<s:sequence><s:element minOccurs=\"0\" maxOccurs=\"1\" name=\"" + name +
            "Result\" type=\"s:string\"/></s:sequence>";
  }
  return text + "</s:complexType></s:element>";
}

std::string messages(const OperationShape& op) {
  const std::string name(op.name);
  return "<wsdl:message name=\"" + name +
         "SoapIn\"><wsdl:part name=\"parameters\" element=\"tns:" + name +
         "\"/></wsdl:message><wsdl:message name=\"" + name +
         "SoapOut\"><wsdl:part name=\"parameters\" element=\"tns:" + name +
         "Response\"/></wsdl:message>";
}

std::string portOperation(const OperationShape& op) {
  const std::string name(op.name);
  return "<wsdl:operation name=\"" + name + "\"><wsdl:input message=\"tns:" + name +
         "SoapIn\"/><wsdl:output message=\"tns:" + name + "SoapOut\"/></wsdl:operation>";
}

std::string bindingOperation(const OperationShape& op) {
  const std::string name(op.name);
  return "<wsdl:operation name=\"" + name + "\"><soap:operation soapAction=\"" +
         std::string(kRouteNamespace) + "/" + name +
         "\" style=\"document\"/><wsdl:input><soap:body use=\"literal\"/></wsdl:input>"
         "<wsdl:output><soap:body use=\"literal\"/></wsdl:output></wsdl:operation>";
}

}  // namespace

std::string wsdlDocument(std::string_view endpointUrl) {
  const std::string space(kRouteNamespace);
  std::string types, messageList, portType, binding;
  for (const OperationShape& op : kOperations) {
    types += schemaElements(op);
    messageList += messages(op);
    portType += portOperation(op);
    binding += bindingOperation(op);
  }
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
         "<wsdl:definitions xmlns:wsdl=\"http://schemas.xmlsoap.org/wsdl/\" "
         "xmlns:soap=\"http://schemas.xmlsoap.org/wsdl/soap/\" "
         "xmlns:s=\"http://www.w3.org/2001/XMLSchema\" xmlns:tns=\"" +
         space + "\" targetNamespace=\"" + space +
         "\"><wsdl:types><s:schema elementFormDefault=\"qualified\" targetNamespace=\"" + space +
         "\">" + types +
         "<s:complexType name=\"ArrayOfString\"><s:sequence><s:element minOccurs=\"0\" "
         "maxOccurs=\"unbounded\" name=\"string\" nillable=\"true\" type=\"s:string\"/>"
         "</s:sequence></s:complexType></s:schema></wsdl:types>" +
         messageList + "<wsdl:portType name=\"VOZAWebserviceSoap\">" + portType +
         "</wsdl:portType><wsdl:binding name=\"VOZAWebserviceSoap\" "
         "type=\"tns:VOZAWebserviceSoap\"><soap:binding "
         "transport=\"http://schemas.xmlsoap.org/soap/http\"/>" +
         binding +
         "</wsdl:binding><wsdl:service name=\"VOZAWebservice\"><wsdl:port "
         "name=\"VOZAWebserviceSoap\" binding=\"tns:VOZAWebserviceSoap\"><soap:address "
         "location=\"" +
         xmlEscaped(endpointUrl) + "\"/></wsdl:port></wsdl:service></wsdl:definitions>\n";
}

}  // namespace tarvine::serve
