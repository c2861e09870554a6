#include "ServeFixture.h"

#include <httplib.h>
#include <stdlib.h>

#include <pugixml.hpp>

namespace tarvine::serve::test {

std::string clientEnvelope(const std::string& operationBody) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
         "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
         "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">  <soap:Body>    " +
         operationBody + "   </soap:Body> </soap:Envelope>";
}

namespace {

// Text with "&", "<" and ">" escaped for XML.
std::string xmlEscaped(const std::string& text) {
  std::string out;
  for (const char c : text)
    out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
  return out;
}

HttpReply replyOf(const httplib::Result& result) {
  HttpReply reply;
  if (!result) return reply;
  reply.status = result->status;
  reply.contentType = result->get_header_value("Content-Type");
  reply.body = result->body;
  return reply;
}

}  // namespace

std::string operationBody(const std::string& operation, const Parameters& parameters) {
  std::string body = "<" + operation + " xmlns=\"" + kNamespace + "\">";
  for (const auto& [name, value] : parameters) {
    body += "      <" + name + ">" + xmlEscaped(value) + "</" + name + ">";
  }
  return body + "</" + operation + ">";
}

std::string loadQuery(const std::string& operation, int load) {
  return operationBody(operation, {{"OutgoingLoadID", std::to_string(load)}});
}

std::string allOrdersQuery(int load, const std::string& facility) {
  return operationBody("GetOutgoingLoadAllOrders",
                       {{"OutgoingLoadID", std::to_string(load)}, {"FacilityID", facility}});
}

std::string updateBody(const std::vector<std::string>& statements) {
  std::string items;
  for (const std::string& statement : statements) {
    items += "<string>" + xmlEscaped(statement) + "</string>\r\n";
  }
  return std::string("<UpdateOutgoingLoadOrder xmlns=\"") + kNamespace +
         "\">      <OutgoingLoadOrderArray>" + items +
         "</OutgoingLoadOrderArray> </UpdateOutgoingLoadOrder>";
}

HttpReply postTo(int port, const std::string& body, const std::optional<std::string>& soapAction,
                 const std::map<std::string, std::string>& headers, bool chunked) {
  httplib::Client client("127.0.0.1", port);
  client.set_connection_timeout(5);
  client.set_read_timeout(60);
  client.set_write_timeout(60);
  httplib::Headers sent(headers.begin(), headers.end());
  if (soapAction) sent.emplace("SOAPAction", *soapAction);
  constexpr const char* kType = "text/xml; charset=utf-8";
  if (!chunked) return replyOf(client.Post(kPath, sent, body, kType));
  return replyOf(client.Post(
      kPath, sent,
      [&body](std::size_t offset, httplib::DataSink& sink) {
        constexpr std::size_t kChunk = 1 << 20;
        if (offset < body.size()) {
          return sink.write(body.data() + offset, std::min(kChunk, body.size() - offset));
        }
        sink.done();
        return true;
      },
      kType));
}

HttpReply getFrom(int port, const std::string& target) {
  httplib::Client client("127.0.0.1", port);
  client.set_connection_timeout(5);
  return replyOf(client.Get(target));
}

std::vector<Row> dataSetRows(const std::string& replyBody) {
  std::vector<Row> rows;
  pugi::xml_document reply;
  EXPECT_TRUE(reply.load_string(replyBody.c_str())) << replyBody.substr(0, 300);
  const pugi::xml_node response = reply.document_element().first_child().first_child();
  const pugi::xml_node result = response.first_child();
  const std::string responseName = response.name();
  const std::string suffix = "Response";
  EXPECT_TRUE(responseName.size() > suffix.size() && responseName.ends_with(suffix)) << replyBody;
  EXPECT_EQ(std::string(result.name()),
            responseName.substr(0, responseName.size() - suffix.size()) + "Result");
  pugi::xml_document dataSet;
  EXPECT_TRUE(dataSet.load_string(result.text().get()));
  const pugi::xml_node tables =
      dataSet.child("Root").child("DataSet").child("diffgr:diffgram").child("NewDataSet");
  for (const pugi::xml_node table : tables.children("Table")) {
    Row row;
    for (const pugi::xml_node column : table.children()) {
      row.names.emplace_back(column.name());
      row.values[column.name()] = column.text().get();
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

std::pair<std::string, std::string> faultOf(const std::string& replyBody) {
  pugi::xml_document reply;
  if (!reply.load_string(replyBody.c_str())) return {};
  const pugi::xml_node fault = reply.child("soap:Envelope").child("soap:Body").child("soap:Fault");
  return {fault.child("faultcode").text().get(), fault.child("faultstring").text().get()};
}

void expectClientFault(const HttpReply& reply, const std::string& part) {
  EXPECT_EQ(reply.status, 500);
  EXPECT_EQ(reply.contentType, "text/xml; charset=utf-8");
  const auto [code, message] = faultOf(reply.body);
  EXPECT_EQ(code, "soap:Client");
  EXPECT_NE(message.find(part), std::string::npos) << message;
}

void ServeFixture::SetUp() {
  dir_ = std::make_unique<TempDir>();
  const std::string path = (dir_->path() / "route.db").string();
  service_ = std::make_unique<RouteService>(path);
  service_->createDemoData();
  service_->setRequestLog([this](const RequestRecord& record) {
    const std::lock_guard lock(logMutex_);
    log_.push_back(record);
  });
  port_ = service_->start("127.0.0.1", 0);
  db_ = std::make_unique<Database>(path);
}

void ServeFixture::TearDown() {
  service_->stop();
  db_.reset();
  service_.reset();
  dir_.reset();
}

HttpReply ServeFixture::call(const std::string& operation, const std::string& operationBody) {
  return send(clientEnvelope(operationBody), std::string(kNamespace) + "/" + operation);
}

std::vector<Row> ServeFixture::allOrders(int load, const std::string& facility) {
  const HttpReply reply = call("GetOutgoingLoadAllOrders", allOrdersQuery(load, facility));
  EXPECT_EQ(reply.status, 200) << reply.body;
  return dataSetRows(reply.body);
}

std::int64_t countOf(Database& db, const std::string& sql) {
  Statement& query = db.prepare(sql);
  const std::int64_t value = query.step() ? query.integer(0) : -1;
  query.reset();
  return value;
}

std::string ServeFixture::snapshot() {
  std::string dump;
  Statement& orders = db().prepare(
      "SELECT CenterID, OrderID, VOZA_OrderSegment, OutgoingLoad, Freight FROM VOZA_OrderHeader"
      " ORDER BY 1, 2, 3");
  while (orders.step()) {
    dump += std::to_string(orders.integer(0)) + "|" + std::string(orders.text(1)) + "|" +
            std::to_string(orders.integer(2)) + "|" + std::string(orders.text(3)) + "|" +
            std::string(orders.text(4)) + "\n";
  }
  orders.reset();
  dump += "history " + std::to_string(count("SELECT COUNT(*) FROM VOZA_OrderProgressHistory"));
  return dump;
}

std::vector<RequestRecord> ServeFixture::records() {
  const std::lock_guard lock(logMutex_);
  return log_;
}

std::vector<std::string> ServeFixture::logLines() {
  std::vector<std::string> lines;
  for (const RequestRecord& record : records()) {
    lines.push_back(formatRecord(record, LogFormat::Text));
  }
  return lines;
}

void ServeFixture::restartWith(ServerSettings settings) {
  service_->stop();
  settings.host = "127.0.0.1";
  port_ = service_->start(settings);
}

}  // namespace tarvine::serve::test
