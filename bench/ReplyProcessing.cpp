#include "ReplyProcessing.h"

#include "load/OrderReader.h"
#include "platform/XmlDocument.h"
#include "service/DataSet.h"
#include "service/ReplyText.h"

namespace tarvine::bench {

std::string dataSetTextOf(const std::string& body, std::string_view operation) {
  // The copy stands for the network's buffer, which has a byte to spare as the transport's has.
  std::string received;
  received.reserve(body.size() + 1);
  received.append(body);
  XmlDocument response;
  service::parseReply(response, std::move(received));
  return service::takeDataSetText(response, operation);
}

OrderArray readOrders(std::string dataSetText) {
  XmlDocument document;
  service::loadDataSet(document, std::move(dataSetText));
  OrderArray orders(1);
  OrderReader reader;
  service::ReadDataSetRows(document, [&](const service::DataSetRow& row) {
    reader.readRow(row);
    reader.fillRecord(orders.back(), orders.size() - 1);
    orders.emplace_back();
  });
  return orders;
}

}  // namespace tarvine::bench
