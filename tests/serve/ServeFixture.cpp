#include "ServeFixture.h"

#include <httplib.h>

#include <algorithm>
#include <iterator>
#include <pugixml.hpp>
#include <regex>

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

// The lines of `from` that `without` lacks (both sorted), each after `mark`.
std::string missing(const std::vector<std::string>& from, const std::vector<std::string>& without,
                    const char* mark) {
  std::vector<std::string> only;
  std::set_difference(from.begin(), from.end(), without.begin(), without.end(),
                      std::back_inserter(only));
  std::string text;
  for (const std::string& line : only) text += mark + line + "\n";
  return text;
}

}  // namespace

std::string operationBody(const std::string& operation, const Parameters& parameters) {
  std::string body = "<" + operation + " xmlns=\"" + kNamespace + "\">";
  for (const auto& [name, value] : parameters) {
    body += "      <" + name + ">" + xmlEscaped(value) + "</" + name + ">";
  }
  return body + "</" + operation + ">";
}

std::string allOrdersQuery(int load, const std::string& facility) {
  return operationBody("GetOutgoingLoadAllOrders",
                       {{"OutgoingLoadID", std::to_string(load)}, {"FacilityID", facility}});
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

std::vector<std::string> contents(Database& db) {
  std::vector<std::string> tables;
  Statement& names =
      db.prepare("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name");
  while (names.step()) tables.emplace_back(names.text(0));
  std::vector<std::string> rows;
  for (const std::string& table : tables) {
    std::string row = "'" + table + "'";
    Statement& columns = db.prepare("SELECT name FROM pragma_table_info(?)");
    columns.bind(1, std::string_view(table));
    while (columns.step()) {
      const std::string column(columns.text(0));
      row += " || ',' || " + (column == "RecordedAt" ? "'#'" : "quote(" + column + ")");
    }
    Statement& all = db.prepare("SELECT " + row + " FROM " + table);
    while (all.step()) rows.emplace_back(all.text(0));
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

std::string dataSetText(const std::string& replyBody) {
  pugi::xml_document reply, dataSet;
  EXPECT_TRUE(reply.load_string(replyBody.c_str())) << replyBody.substr(0, 300);
  const pugi::xml_node result = reply.document_element().first_child().first_child().first_child();
  EXPECT_TRUE(dataSet.load_string(result.text().get())) << replyBody.substr(0, 300);
  const pugi::xml_node tables =
      dataSet.child("Root").child("DataSet").child("diffgr:diffgram").child("NewDataSet");
  std::string text;
  for (const pugi::xml_node table : tables.children("Table")) {
    for (const pugi::xml_node column : table.children()) {
      text += std::string(column.name()) + "=" + column.text().get() + " ";
    }
    text += "\n";
  }
  return std::regex_replace(text, std::regex(R"((T00:00:00)[+-]\d\d:\d\d )"), "$1+zone ");
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
  rowsSeen_ = contents(*db_);
}

void ServeFixture::arrange(const std::string& sql) {
  db_->execute(sql);
  rowsSeen_ = contents(*db_);
}

void ServeFixture::record(const std::string& title, const HttpReply& reply, Show show) {
  std::string& out = transcript_;
  out += "## " + title + "\n" + std::to_string(reply.status) + " " + reply.contentType + "\n";
  pugi::xml_document document;
  const pugi::xml_node fault =
      document.load_string(reply.body.c_str())
          ? document.child("soap:Envelope").child("soap:Body").child("soap:Fault")
          : pugi::xml_node();
  if (fault) {
    out += std::string("fault ") + fault.child_value("faultcode") + ": " +
           fault.child_value("faultstring") + "\n";
  } else if (show == Show::Body || reply.status != 200) {
    out += reply.body + "\n";
  } else {
    const std::string rows = dataSetText(reply.body);
    out += show == Show::Rows
               ? rows
               : std::to_string(std::count(rows.begin(), rows.end(), '\n')) + " rows\n";
  }
  std::vector<RequestRecord> records;
  {
    const std::lock_guard lock(logMutex_);
    records.assign(log_.begin() + static_cast<std::ptrdiff_t>(logSeen_), log_.end());
    logSeen_ = log_.size();
  }
  const std::regex varying(
      R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z|, \d+ ms$|"duration_ms":\d+|"time":"[^"]*")");
  for (const RequestRecord& logged : records) {
    for (const LogFormat format : {LogFormat::Text, LogFormat::Json}) {
      out += "log " + std::regex_replace(formatRecord(logged, format), varying, "#") + "\n";
    }
  }
  const std::vector<std::string> rows = contents(*db_);
  out += missing(rowsSeen_, rows, "- ") + missing(rows, rowsSeen_, "+ ");
  rowsSeen_ = rows;
}

void ServeFixture::restartWith(ServerSettings settings) {
  service_->stop();
  settings.host = "127.0.0.1";
  port_ = service_->start(settings);
}

}  // namespace tarvine::serve::test
