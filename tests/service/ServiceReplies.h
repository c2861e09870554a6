#pragma once
// Replies of the route service as tests need them: serialized data sets, the back office's SOAP
// envelopes around them, and the texts the transport and the unwrappers leave of those.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvine::service::test {

// One column of a data set row: name and value (the value is escaped when written).
using ReplyColumn = std::pair<std::string, std::string>;
using ReplyRow = std::vector<ReplyColumn>;

// Namespace of the route service's operation elements, written out independently here.
inline constexpr std::string_view kTestRouteNamespace =
    "http://tarvine.example/VOZARouteLocations/Service1";

// A serialized data set as the service returns it, without a declaration:
// Root / DataSet (with an inline schema) / diffgr:diffgram / NewDataSet / one Table per row.
std::string dataSetText(const std::vector<ReplyRow>& rows);

// The back office's reply to op: a SOAP envelope declaring xmlns:soap, xmlns:xsi, xmlns:xsd in
// that order, whose <opResponse><opResult> holds the data set as escaped text.
std::string soapDataSetReply(std::string_view op, std::string_view dataSet);

// A SOAP 1.1 fault envelope with the given faultstring.
std::string soapFaultReply(std::string_view faultString);

// What the transport returns for soapDataSetReply(op, dataSet): the declaration with encoding,
// CR LF, the response element with the data set as markup, and the CR LF the serializer writes
// after the envelope.
std::string transportResult(std::string_view op, std::string_view dataSet);

// What a query's unwrapper leaves of transportResult(): the declaration, CR LF, the data set,
// CR LF.
std::string unwrappedReply(std::string_view dataSet);

}  // namespace tarvine::service::test
