#include "ReplyProcessing.h"

#include "load/OrderReader.h"
#include "platform/HugePages.h"
#include "platform/XmlDocument.h"
#include "service/ReplyText.h"

namespace tarvine::bench {

std::string dataSetTextOf(const std::string& body, std::string_view operation) {
  // The copy stands for the network's buffer, which has a byte to spare as the transport's has.
  std::string received;
  reserveOnHugePages(received, body.size() + 1);
  received.append(body);
  XmlDocument response;
  service::parseReply(response, std::move(received));
  return service::takeDataSetText(response, operation);
}

OrderArray readOrders(std::string dataSetText) {
  OrderArray orders;
  readOrderRecords(std::move(dataSetText), orders);
  return orders;
}

}  // namespace tarvine::bench
