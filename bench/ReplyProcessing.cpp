#include "ReplyProcessing.h"

#include "load/OrderReader.h"
#include "platform/XmlDocument.h"
#include "service/DataSet.h"
#include "service/Transport.h"
#include "service/Unwrap.h"

namespace tarvine::bench {

std::string transportResult(const std::string& body) {
  XmlDocument response;
  response.loadBytes(body);
  return service::StripSOAPEnvelope(service::CleanResponseXML(response.xml()));
}

OrderArray readOrders(const std::string& transportResult) {
  const std::string reply = service::UnwrapGetOutgoingLoadAllOrders(transportResult);
  XmlDocument document;
  document.loadXml(reply);
  OrderArray orders(1);
  if (document.parseErrorCode() != 0) return orders;
  OrderReader reader;
  service::ReadDataSetRows(document, [&](const service::DataSetRow& row) {
    reader.readRow(row);
    reader.fillRecord(orders.back(), orders.size() - 1);
    orders.emplace_back();
  });
  return orders;
}

}  // namespace tarvine::bench
