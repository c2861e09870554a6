// The service's operations as clients call them, one scenario per golden transcript
// (tests/golden/serve/NAME.txt): every reply's status, content type, body or fault, the log lines
// and the database rows each request changed.

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <httplib.h>

#include <filesystem>
#include <iterator>
#include <map>
#include <mutex>
#include <optional>
#include <pugixml.hpp>
#include <regex>
#include <thread>

#include "Golden.h"
#include "Loopback.h"
#include "RouteService.h"
#include "TableContents.h"
#include "TestText.h"

namespace tarvine::serve::test {
namespace {

constexpr const char* kPath = "/WebServices/VOZAWebservice/VOZAWebservice.asmx";

// POSTs body to the service's endpoint with the SOAPAction (none: omitted) and extra headers;
// chunked: without Content-Length, in chunks.
httplib::Result postTo(int port, const std::string& body,
                       const std::optional<std::string>& soapAction,
                       const std::map<std::string, std::string>& headers = {},
                       bool chunked = false) {
  httplib::Client client("127.0.0.1", port);
  client.set_connection_timeout(5);
  client.set_read_timeout(60);
  client.set_write_timeout(60);
  httplib::Headers sent(headers.begin(), headers.end());
  if (soapAction) sent.emplace("SOAPAction", *soapAction);
  constexpr const char* kType = "text/xml; charset=utf-8";
  if (!chunked) return client.Post(kPath, sent, body, kType);
  return client.Post(
      kPath, sent,
      [&body](std::size_t offset, httplib::DataSink& sink) {
        constexpr std::size_t kChunk = 1 << 20;
        if (offset < body.size()) {
          return sink.write(body.data() + offset, std::min(kChunk, body.size() - offset));
        }
        sink.done();
        return true;
      },
      kType);
}

// All the service sends on the connection until it closes it (at most 60 s); then closes it.
std::string readUntilClosed(int fd) {
  std::string text;
  char buffer[1 << 16];
  ssize_t count = 0;
  while (tarvine::test::waitFor(fd, POLLIN, -1, 60'000) == 1 &&
         (count = recv(fd, buffer, sizeof buffer, 0)) > 0) {
    text.append(buffer, static_cast<std::size_t>(count));
  }
  close(fd);
  return text;
}

// A request as sent on a connection: request line, headers (each ending in CR LF), body.
std::string rawRequest(const std::string& headers, const std::string& body = "",
                       const char* version = "HTTP/1.1") {
  return "POST " + std::string(kPath) + " " + version + "\r\n" + headers + "\r\n" + body;
}

// The same with a body of known length.
std::string sizedRequest(const std::string& headers, const std::string& body,
                         const char* version = "HTTP/1.1") {
  return rawRequest(headers + "Content-Length: " + std::to_string(body.size()) + "\r\n", body,
                    version);
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

// The rows of a data set reply, one line each as "name=value ..."; the dates' zone offset
// (the machine's zone) written as "+zone". Fails the test when the reply holds no data set.
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

// What a transcript step shows of a reply beside its status, log lines and changed rows.
enum class Show { Body, Rows, RowCount };

constexpr const char* kNamespace = "http://tarvine.example/VOZARouteLocations/Service1";
using tarvine::test::repeated;
using Parameters = std::vector<std::pair<std::string, std::string>>;

// The request envelope as the control builds it around an operation body.
std::string clientEnvelope(const std::string& operationBody) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
         "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
         "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">  <soap:Body>    " +
         operationBody + "   </soap:Body> </soap:Envelope>";
}

// An operation element in the service's namespace with its parameters, "&", "<" and ">" escaped.
std::string operationBody(const std::string& operation, const Parameters& parameters) {
  std::string body = "<" + operation + " xmlns=\"" + kNamespace + "\">";
  for (const auto& [name, value] : parameters) {
    body += "      <" + name + ">";
    for (const char c : value)
      body += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
    body += "</" + name + ">";
  }
  return body + "</" + operation + ">";
}

std::string allOrdersQuery(int load, const std::string& facility = "DEMO") {
  return operationBody("GetOutgoingLoadAllOrders",
                       {{"OutgoingLoadID", std::to_string(load)}, {"FacilityID", facility}});
}

// One request: its body as sent and its SOAPAction (none: the header is left out).
struct Step {
  std::string title;
  std::string body;
  std::optional<std::string> action;
  Show show = Show::Body;
};

std::string actionOf(const std::string& operation) {
  return std::string(kNamespace) + "/" + operation;
}

// The operation in the client's envelope with its matching SOAPAction.
Step op(const std::string& title, const std::string& operation, const Parameters& parameters,
        Show show = Show::Body) {
  return {title, clientEnvelope(operationBody(operation, parameters)), actionOf(operation), show};
}

// UpdateOutgoingLoadOrder: each statement in a <string>, each followed by CR LF.
Step save(const std::string& title, const std::vector<std::string>& statements) {
  std::string items;
  for (const std::string& statement : statements) items += "<string>" + statement + "</string>\r\n";
  return {title,
          clientEnvelope(std::string("<UpdateOutgoingLoadOrder xmlns=\"") + kNamespace +
                         "\">      <OutgoingLoadOrderArray>" + items +
                         "</OutgoingLoadOrderArray> </UpdateOutgoingLoadOrder>"),
          actionOf("UpdateOutgoingLoadOrder")};
}

Step astray(const std::string& title, const std::string& order, int segment, int load = 5001,
            const std::string& freight = "42.5") {
  return op(title, "AddAstrayPO",
            {{"OrderID", order},
             {"OrderSegment", std::to_string(segment)},
             {"Freight", freight},
             {"Cartons", "6"},
             {"OutgoingLoadID", std::to_string(load)},
             {"Comment", "behind the door & wet"}});
}

Step loadQuery(const std::string& operation, int load) {
  return op(operation + " " + std::to_string(load), operation,
            {{"OutgoingLoadID", std::to_string(load)}});
}

// The control's statement that puts a segment on a load ("Null": takes it off).
std::string onLoad(const std::string& load, const std::string& freight, int center,
                   const std::string& order, int segment) {
  return "Update VOZA_OrderHeader Set VOZA_OrderHeader.OutgoingLoad = " + load +
         ", Freight = " + freight + "  Where CenterID = " + std::to_string(center) +
         " and OrderID = '" + order + "' and VOZA_OrderSegment = " + std::to_string(segment);
}

std::string history(int code, const std::string& order, int segment) {
  return "EXECUTE spVOZAOrderProgressHistoryOutgoingLoadAdd " + std::to_string(code) + ", '" +
         order + "'," + std::to_string(segment) + ",7,2";
}

// Elements <a> nested `depth` levels deep.
std::string nested(std::size_t depth) {
  return repeated("<a>", depth) + repeated("</a>", depth);
}

// A well-formed GetOutgoingLoadAllOrders whose parameters carry what the case adds.
std::string queryWith(const std::string& extra, const std::string& load = "5001") {
  std::string query =
      operationBody("GetOutgoingLoadAllOrders", {{"OutgoingLoadID", load}, {"FacilityID", "DEMO"}});
  return clientEnvelope(query.insert(query.rfind("</"), extra));
}

const std::string kAllOrders = actionOf("GetOutgoingLoadAllOrders");

// A route service on 127.0.0.1 with the demo data in a temporary database, and a transcript of
// everything each request showed and changed.
class Scenario : public ::testing::Test {
 protected:
  Scenario() {
    service_.createDemoData();
    service_.setRequestLog([this](const RequestRecord& record) {
      const std::lock_guard lock(logMutex_);
      log_.push_back(record);
    });
    port_ = service_.start("127.0.0.1", 0);
    rowsSeen_ = contents(db_);
  }

  void run(const std::vector<Step>& steps) {
    for (const Step& step : steps)
      record(step.title, postTo(port_, step.body, step.action), step.show);
  }
  // Adds to the transcript: the title, the reply's status and content type, its fault (code
  // and string) or what `show` says of it, the log lines (text and JSON, time and duration
  // written as #) and the database rows it removed (-) and added (+).
  void record(const std::string& title, const httplib::Result& reply, Show show = Show::Body) {
    record(title, reply ? reply->status : 0, reply ? reply->get_header_value("Content-Type") : "",
           reply ? reply->body : "", show);
  }
  // The same for what a connection received (the first reply of it).
  void recordRaw(const std::string& title, const std::string& raw, Show show = Show::Body) {
    std::smatch head;
    std::regex_search(
        raw, head,
        std::regex(R"(^HTTP/1\.\d (\d+)[\s\S]*?\r\nContent-Type: ([^\r]*)[\s\S]*?\r\n\r\n)"));
    record(title, head.empty() ? 0 : std::stoi(head[1]), head.empty() ? "" : head[2].str(),
           head.suffix(), show);
  }
  void record(const std::string& title, int status, const std::string& contentType,
              const std::string& body, Show show) {
    std::string& out = transcript_;
    out += "## " + title + "\n" + std::to_string(status) + " " + contentType + "\n";
    pugi::xml_document document;
    const pugi::xml_node fault =
        document.load_string(body.c_str())
            ? document.child("soap:Envelope").child("soap:Body").child("soap:Fault")
            : pugi::xml_node();
    if (fault) {
      out += std::string("fault ") + fault.child_value("faultcode") + ": " +
             fault.child_value("faultstring") + "\n";
    } else if (show == Show::Body || status != 200) {
      out += body + "\n";
    } else {
      const std::string rows = dataSetText(body);
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
    const std::vector<std::string> rows = contents(db_);
    out += missing(rowsSeen_, rows, "- ") + missing(rows, rowsSeen_, "+ ");
    rowsSeen_ = rows;
  }

  // Runs SQL on the service's database before the next step; its changes are not recorded.
  void arrange(const std::string& sql) {
    db_.execute(sql);
    rowsSeen_ = contents(db_);
  }

  // Serves again with other settings.
  void restartWith(const ServerSettings& settings) {
    service_.stop();
    port_ = service_.start(settings);
  }

  // Destroyed from the last: the connection, the service, then its log and folder.
  TempDir dir_;
  std::mutex logMutex_;
  std::vector<RequestRecord> log_;
  RouteService service_{(dir_.path() / "route.db").string()};
  Database db_{service_.dbPath()};
  int port_ = 0;
  std::string transcript_;
  std::size_t logSeen_ = 0;
  std::vector<std::string> rowsSeen_;
};

TEST_F(Scenario, Saves) {
  run({save("whole batch",
            {onLoad("5001", "125.00", 12, "12-34567", 1), onLoad("Null", "0.00", 15, "15-20001", 2),
             history(2, "12-34567", 1), history(5, "15-20001", 2), ""}),
       save("only the empty string", {""}),
       // A batch with any statement the service cannot take changes nothing.
       save("grouped freight",
            {onLoad("5001", "125.00", 12, "12-34567", 2), history(2, "12-34567", 2),
             onLoad("5001", "1,234.50", 12, "12-34567", 3), ""}),
       save("no such segment", {onLoad("5001", "125.00", 12, "12-34567", 2),
                                onLoad("5001", "1.00", 12, "12-34567", 9)}),
       save("wrong center", {onLoad("5001", "1.00", 15, "12-34567", 2)}),
       save("no such load", {onLoad("4242", "1.00", 12, "12-34567", 2)}),
       save("history of no segment",
            {onLoad("5001", "125.00", 12, "12-34567", 2), history(2, "12-99999", 1)}),
       save("second statement after a semicolon",
            {history(2, "12-34567", 1) + "; DELETE FROM VOZA_OrderHeader"}),
       save("unknown progress code", {history(3, "12-34567", 1)}),
       save("injection through an undoubled quote",
            {onLoad("5001", "1.00", 12, "12-34567' or '1'='1", 1)}),
       save("injection inside a doubled quote",
            {onLoad("5001", "125.00", 12, "12-34567", 2),
             onLoad("Null", "0.00", 12, "12-34567''; DELETE FROM VOZA_OrderHeader; --", 1)})});
  // A doubled quote in an order id matches that order only.
  arrange(
      "INSERT INTO VOZA_OrderHeader (CenterID, OrderID, VOZA_OrderSegment, FacilityID, LoadDate,"
      " NumberParcels, FactoryWeight, CubicFeet, FreightCost, Freight, MinimumCharge, TotalRate,"
      " TotalSuggestedFreight) VALUES"
      " (12, '12-3''4', 1, 'DEMO', '2026-11-20', 3, 100, 10, 5, 0, 45, 14, 45),"
      " (12, '12-3', 1, 'DEMO', '2026-11-20', 3, 100, 10, 5, 0, 45, 14, 45),"
      " (12, '12-34', 1, 'DEMO', '2026-11-20', 3, 100, 10, 5, 0, 45, 14, 45)");
  run({save("doubled quote",
            {onLoad("5001", "50.00", 12, "12-3''4", 1), history(2, "12-3''4", 1)})});
  tarvine::test::expectGolden(transcript_, "serve/saves.txt");
}

TEST_F(Scenario, AddsAstrayPOs) {
  run({astray("not received", "27-99999", 1),
       astray("unknown load", "27-70460", 3, 4242),
       astray("next segment exists", "27-70460", 2),
       astray("segment never sent", "27-70460", 7),
       astray("grouped freight", "27-70460", 3, 5001, "1,000.00"),
       astray("the next segment", "27-70460", 3),
       {"the load lists it", clientEnvelope(allOrdersQuery(5001)), kAllOrders, Show::Rows}});
  tarvine::test::expectGolden(transcript_, "serve/astray.txt");
}

// The replies of the demo load, of a load that does not exist and of another facility.
TEST_F(Scenario, Queries) {
  arrange(
      "UPDATE VOZA_OrderHeader SET Freight = 1234.75 WHERE OrderID = '12-34581' AND "
      "VOZA_OrderSegment = 1");
  run({loadQuery("GetOutgoingLoadCenterIDAndCenter", 5001),
       loadQuery("GetOutgoingLoadDescriptionRoute", 5001),
       loadQuery("GetOutgoingLoadDescriptionRoute", 4242),
       loadQuery("GetOutgoingLoadBasicTotal", 5001),
       loadQuery("GetOutgoingLoadBasicTotal", 4242),
       op("IsPOFound received", "IsPOFound", {{"OrderID", "27-70460"}}),
       op("IsPOFound not received", "IsPOFound", {{"OrderID", "27-99999"}}),
       {"all orders", clientEnvelope(allOrdersQuery(5001)), kAllOrders, Show::Rows},
       {"other facility", clientEnvelope(allOrdersQuery(5001, "ELSEWHERE")), kAllOrders,
        Show::Rows},
       {"no such load", clientEnvelope(allOrdersQuery(4242)), kAllOrders, Show::Rows}});
  // Center names are escaped inside the data set and again in the result.
  arrange("UPDATE Center SET CenterName = 'A&B <North>' WHERE CenterID = 12");
  run({loadQuery("GetOutgoingLoadCenterIDAndCenter", 5001)});
  tarvine::test::expectGolden(transcript_, "serve/queries.txt");
}

// Every request the service cannot take is answered with a client fault that says why; a
// quoted SOAPAction is taken, and nesting and element counts up to their limits too.
TEST_F(Scenario, GuardsRequests) {
  const std::string action = kAllOrders;
  run({{"empty body", "", action},
       {"not XML", "<soap:Envelope><oops", action},
       {"not an envelope", "<Envelop/>", action},
       {"no body", "<soap:Envelope xmlns:soap=\"x\"/>", action},
       {"empty body element", clientEnvelope(""), action},
       op("unknown operation", "DropTables", {}),
       {"other namespace", clientEnvelope("<GetOutgoingLoadAllOrders xmlns=\"urn:other\"/>"),
        action},
       {"no namespace", clientEnvelope("<Nonsense/>"), actionOf("Nonsense")},
       {"mismatching SOAPAction", queryWith(""), actionOf("IsPOFound")},
       {"missing SOAPAction", queryWith(""), std::nullopt},
       op("missing parameter", "GetOutgoingLoadAllOrders", {{"OutgoingLoadID", "5001"}}),
       {"load id not a number", queryWith("", "50x1"), action},
       {"load id beyond 16 bits", queryWith("", "40000"), action},
       // A load id that tries to start a log line of its own and to clear the screen.
       op("log injection", "GetOutgoingLoadBasicTotal",
          {{"OutgoingLoadID",
            "1\n2030-01-01T00:00:00.000Z 10.0.0.9 UpdateOutgoingLoadOrder: ok\x1b[2J"}}),
       // The line and paragraph separators are escaped in both forms (load and fault text).
       op("log separators", "GetOutgoingLoadBasicTotal",
          {{"OutgoingLoadID", "1\\n\xe2\x80\xa8\xe2\x80\xa9"}}),
       {"hostile depth", clientEnvelope(nested(100000)), action},
       {"too many elements", queryWith(repeated("<a/>", 131'072)), action},
       {"too many attributes", queryWith("<a " + repeated("b='>'", 131'073) + "/>"), action},
       {"document type", "<!DOCTYPE x [<!ENTITY a \"aaaa\">]>" + queryWith("&a;"), action},
       {"quoted SOAPAction", queryWith(""), "\"" + action + "\"", Show::RowCount},
       // The envelope, body and operation take three levels; parameters may nest to the limit.
       {"deepest nesting", queryWith(nested(253)), action, Show::RowCount},
       {"one level deeper", queryWith(nested(254)), action, Show::RowCount},
       {"most elements", queryWith(repeated("<a/>", 131'072 - 5)), action, Show::RowCount}});
  EXPECT_EQ(tarvine::test::occurrences(transcript_, "\\u2028\\u2029"), 4u);
  // However the body is framed, one byte over the limit is refused before it is parsed.
  const std::string oversized(16u * 1024 * 1024 + 1, ' ');
  for (const bool chunked : {false, true}) {
    record(chunked ? "oversized chunked" : "oversized",
           postTo(port_, oversized, action, {}, chunked));
  }
  // Busy while the bodies in memory reach the limit; the refused body no longer counts.
  ServerSettings settings;
  settings.limits.maxBufferedBodyBytes = 1 << 20;
  restartWith(settings);
  run({{"over the memory for bodies", std::string(2 << 20, ' '), action},
       {"after it", queryWith(""), action, Show::RowCount}});
  tarvine::test::expectGolden(transcript_, "serve/guards.txt");
}

// A request whose body's length is unclear, or whose Host header is missing, doubled or not a
// plain host[:port], is answered on its own and the connection closed: a body that holds a whole
// save (smuggled) never runs as a request.
TEST_F(Scenario, RefusesRequestsOfUnclearFramingOrHost) {
  const Step smuggled = save("", {history(2, "12-34567", 1)});
  const std::string inner =
      sizedRequest("Host: localhost\r\nSOAPAction: " + *smuggled.action + "\r\n", smuggled.body);
  const auto coded = [&](const std::string& coding, const std::string& body,
                         const char* version = "HTTP/1.1") {
    return rawRequest("Host: localhost\r\nTransfer-Encoding: " + coding + "\r\n", body, version);
  };
  const std::tuple<std::string, std::string, int> cases[] = {
      {"xchunked", coded("xchunked", inner), 400},
      {"identity", coded("identity", inner), 400},
      {"gzip", coded("gzip", inner), 400},
      {"chunked, identity", coded("chunked, identity", inner), 400},
      {"gzip, chunked", coded("gzip, chunked", "5\r\nabcde\r\n0\r\n\r\n" + inner), 501},
      {"chunked in HTTP/1.0", coded("chunked", "0\r\n\r\n" + inner, "HTTP/1.0"), 400},
      {"negative chunk size", coded("chunked", "-5\r\nabcde\r\n0\r\n\r\n"), 400},
      {"overflowing chunk size", coded("chunked", "1" + std::string(16, 'f') + "\r\n"), 400},
      {"no Host", rawRequest(""), 400},
      {"two Host headers", rawRequest("Host: localhost\r\nHost: localhost\r\n"), 400},
      {"Host localhost:80@evil", rawRequest("Host: localhost:80@evil\r\n"), 400},
      {"Host [::1]evil", rawRequest("Host: [::1]evil\r\n"), 400},
      {"HTTP/1.0 without Host",
       sizedRequest("SOAPAction: " + kAllOrders + "\r\n", queryWith(""), "HTTP/1.0"), 200}};
  for (const auto& [title, request, status] : cases) {
    const std::string raw =
        readUntilClosed(tarvine::test::connectFrom(port_, "127.0.0.1", request));
    EXPECT_EQ(raw.substr(0, 12).substr(9), std::to_string(status)) << title;
    EXPECT_EQ(raw.find("HTTP/1.", 1), std::string::npos) << title << ": answered twice";
    recordRaw(title, raw, Show::RowCount);
  }
  EXPECT_EQ(transcript_.find("\n+ "), std::string::npos) << "a smuggled save ran";
  tarvine::test::expectGolden(transcript_, "serve/framing.txt");
}

// Who may call: the --allow-from networks (checked before anything is read) and a Host header
// that names loopback on a loopback bind, else an IP address or localhost (a web page reaching
// the service by DNS rebinding names its own host), or one of the --server-name names. Refused
// callers get a plain 403 (421 for a name on a bind that is not loopback) and a log line.
TEST_F(Scenario, AdmitsCallers) {
  // Listening on 0.0.0.0 (else on 127.0.0.1), --server-name, --allow-from, Host, status.
  const std::tuple<bool, const char*, const char*, const char*, int> cases[] = {
      {false, "", "", "127.0.0.1:8080", 200},
      {false, "", "", "LocalHost", 200},
      {false, "", "", "[::1]:8080", 200},
      {false, "", "", "127.3.2.1", 200},
      {false, "", "", "intranet.example:8080", 403},
      {false, "", "", "127.0.0.1.rebind.example", 403},
      {false, "", "", "192.168.1.5", 403},
      {false, "", "10.0.0.0/8, 127.0.0.0/8", "localhost", 200},
      {false, "", "10.0.0.0/8,::1/128", "localhost", 403},
      {false, "", "127.0.0.2/31", "localhost", 403},
      {false, "intranet.example", "", "intranet.example:8080", 200},
      {true, "", "127.0.0.0/8", "192.168.1.5:8080", 200},
      {true, "", "127.0.0.0/8", "[fd00::1]", 200},
      {true, "", "127.0.0.0/8", "LOCALHOST", 200},
      {true, "", "127.0.0.0/8", "intranet.example", 421},
      {true, "intranet.example, route", "127.0.0.0/8", "Intranet.Example:80", 200},
      {true, "intranet.example, route", "127.0.0.0/8", "rebind.example", 421}};
  for (const auto& [anyAddress, serverNames, allowFrom, host, status] : cases) {
    ServerSettings settings;
    if (anyAddress) settings.host = "0.0.0.0";
    if (*serverNames) settings.serverNames = parseServerNames(serverNames);
    if (*allowFrom) settings.allowFrom = AllowList::parse(allowFrom);
    restartWith(settings);
    const httplib::Result reply = postTo(port_, queryWith(""), kAllOrders, {{"Host", host}});
    EXPECT_EQ(reply ? reply->status : 0, status) << host;
    record(std::string(anyAddress ? "0.0.0.0 " : "") + (*serverNames ? "names " : "") +
               serverNames + (*serverNames ? " " : "") + allowFrom + " " + host,
           reply, Show::RowCount);
  }
  tarvine::test::expectGolden(transcript_, "serve/callers.txt");
}

// One address cannot take what all clients share while other addresses are served: its
// connections over its cap are closed on arrival (logged at most once a second, with a count),
// its bodies over its share of the bodies' memory and its replies over its share of the
// replies' memory (held until the client reads them) are "busy", as is any reply over the total.
TEST_F(Scenario, OneAddressCannotTakeWhatAllShare) {
  service_.generateLoad(30000, 8000);  // its orders make a reply of about 7 MB
  ServerSettings settings;
  settings.limits.maxConnectionsPerClient = 3;
  settings.limits.maxBufferedBodyBytesPerClient = 1 << 20;
  settings.limits.maxHeldReplyBytes = 16 << 20;
  settings.limits.maxHeldReplyBytesPerClient = 8 << 20;
  restartWith(settings);
  const auto post = [&](const char* from, const std::string& body) {
    const std::string head = "Host: localhost\r\nConnection: close\r\nSOAPAction: " + kAllOrders;
    return tarvine::test::connectFrom(port_, from, sizedRequest(head + "\r\n", body));
  };
  const auto answer = [&](const char* from, const std::string& body) {
    return readUntilClosed(post(from, body));
  };
  const std::string large = queryWith("", "30000");
  const int unreadA = post("127.0.0.1", large), unreadB = post("127.0.0.2", large);
  EXPECT_EQ(tarvine::test::waitFor(unreadA, POLLIN, -1, 60'000), 1);
  EXPECT_EQ(tarvine::test::waitFor(unreadB, POLLIN, -1, 60'000), 1);
  EXPECT_THAT(answer("127.0.0.1", large),
              testing::HasSubstr("this address holds as many large replies"));
  EXPECT_THAT(answer("127.0.0.3", large),
              testing::HasSubstr("the service holds as many large replies"));
  EXPECT_THAT(answer("127.0.0.1", queryWith(std::string(2 << 20, ' '))),
              testing::HasSubstr("this address sends as many large requests"));
  EXPECT_THAT(answer("127.0.0.2", queryWith(std::string(900 << 10, ' '))),
              testing::StartsWith("HTTP/1.1 200"));
  std::vector<int> silent;
  for (int i = 0; i < 3; ++i) silent.push_back(tarvine::test::connectFrom(port_, "127.0.0.4", ""));
  for (int i = 0; i < 20; ++i) EXPECT_EQ(answer("127.0.0.4", queryWith("")), "");
  EXPECT_THAT(answer("127.0.0.5", queryWith("")), testing::StartsWith("HTTP/1.1 200"));
  close(unreadA);
  std::string after;
  for (int tries = 0; tries < 600 && !after.starts_with("HTTP/1.1 200"); ++tries) {
    after = answer("127.0.0.3", large);
  }
  EXPECT_THAT(after, testing::StartsWith("HTTP/1.1 200"));
  for (const int fd : silent) close(fd);
  close(unreadB);
  std::size_t refused = 0, lines = 0;
  for (int waited = 0; refused < 20 && waited < 600; ++waited) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const std::lock_guard lock(logMutex_);
    refused = lines = 0;
    for (const RequestRecord& r : log_) {
      const std::size_t more = r.detail.find("; ");  // "...; N more refused in the last second"
      if (r.client != "127.0.0.4") continue;
      ++lines, refused += more == std::string::npos ? 1 : std::stoul(r.detail.substr(more + 2));
    }
  }
  EXPECT_EQ(refused, 20u);
  EXPECT_LT(lines, 20u);
}

// A load of the most segments a load may hold, beside the route's free segments.
TEST_F(Scenario, ServesAFullSizeGeneratedLoad) {
  service_.generateLoad(30000, 32767);
  arrange("SELECT 1");  // the generated rows are not shown
  run({{"all orders", clientEnvelope(allOrdersQuery(30000)), kAllOrders, Show::RowCount}});
  tarvine::test::expectGolden(transcript_, "serve/full-size-load.txt");
}

// The endpoints beside SOAP: the description, the health check until the database cannot be
// read, and what is not there; the port, the uptime and the folder masked.
TEST_F(Scenario, DescribesItselfAndItsHealth) {
  const std::string description = std::string(kPath) + "?wsdl";
  httplib::Client client("127.0.0.1", port_);
  for (const std::string& target : {description, std::string(kPath), std::string("/elsewhere")})
    record("GET " + target, client.Get(target));
  record("health", client.Get("/health"));
  std::filesystem::rename(service_.dbPath(), service_.dbPath() + ".moved");
  record("health without the database", client.Get("/health"));
  using Mask = std::pair<std::string, std::string>;
  for (const auto& [from, to] :
       {Mask{"127\\.0\\.0\\.1:" + std::to_string(port_), "127.0.0.1:PORT"},
        Mask{"\"uptime_seconds\":\\d+", "\"uptime_seconds\":#"}, Mask{dir_.path().string(), "DIR"}})
    transcript_ = std::regex_replace(transcript_, std::regex(from), to);
  tarvine::test::expectGolden(transcript_, "serve/endpoints.txt");
}

}  // namespace
}  // namespace tarvine::serve::test
