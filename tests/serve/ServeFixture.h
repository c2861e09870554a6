// A route service on 127.0.0.1 with the demo data in a temporary database, and a client that
// talks to it the way the control does.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Database.h"
#include "RouteService.h"
#include "TemporaryFolder.h"

namespace tarvine::serve::test {

inline constexpr const char* kNamespace = "http://tarvine.example/VOZARouteLocations/Service1";
inline constexpr const char* kPath = "/WebServices/VOZAWebservice/VOZAWebservice.asmx";

// One HTTP answer.
struct HttpReply {
  int status = 0;
  std::string contentType;
  std::string body;
};

// One data set row: column name to text, plus the names in document order.
struct Row {
  std::map<std::string, std::string> values;
  std::vector<std::string> names;
  const std::string& operator[](const std::string& name) const { return values.at(name); }
};

using TempDir = tarvine::test::TemporaryFolder;
using Parameters = std::vector<std::pair<std::string, std::string>>;

// The request envelope as the control builds it around an operation body.
std::string clientEnvelope(const std::string& operationBody);
// An operation element in the service's namespace with its parameters (values XML-escaped).
std::string operationBody(const std::string& operation, const Parameters& parameters);
// The body of a query that takes only a load id.
std::string loadQuery(const std::string& operation, int load);
// The body of GetOutgoingLoadAllOrders.
std::string allOrdersQuery(int load, const std::string& facility);
// The body of UpdateOutgoingLoadOrder: each statement in a <string>, each followed by CR LF.
std::string updateBody(const std::vector<std::string>& statements);

// POSTs body to the endpoint of the service at port with the given SOAPAction (none: omitted)
// and extra headers; chunked: without Content-Length, in chunks.
HttpReply postTo(int port, const std::string& body, const std::optional<std::string>& soapAction,
                 const std::map<std::string, std::string>& headers = {}, bool chunked = false);
// GETs a path (and query) of the service at port.
HttpReply getFrom(int port, const std::string& target);

// The rows of a query reply: the result element's text parsed as a data set. Fails the test
// when the reply is not a data set reply.
std::vector<Row> dataSetRows(const std::string& replyBody);
// faultcode and faultstring of a fault reply (empty when there is no fault).
std::pair<std::string, std::string> faultOf(const std::string& replyBody);
// One integer result of a query on db (-1 when it gives no row).
std::int64_t countOf(Database& db, const std::string& sql);
// Expects a 500 reply holding a soap:Client fault whose faultstring contains `part`.
void expectClientFault(const HttpReply& reply, const std::string& part);

class ServeFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Sends an operation body with the matching SOAPAction.
  HttpReply call(const std::string& operation, const std::string& operationBody);
  // Sends a body with a SOAPAction of the caller's choice.
  HttpReply send(const std::string& body, const std::optional<std::string>& soapAction) {
    return postTo(port_, body, soapAction);
  }
  // The rows of GetOutgoingLoadAllOrders for the load and facility.
  std::vector<Row> allOrders(int load, const std::string& facility = "DEMO");
  // A read-write connection to the service's database, for arranging and checking rows.
  Database& db() { return *db_; }
  // One integer result of a query on the service's database.
  std::int64_t count(const std::string& sql) { return countOf(*db_, sql); }
  // A text dump of the order and history tables, to prove that nothing changed.
  std::string snapshot();
  // The request log so far.
  std::vector<RequestRecord> records();
  std::vector<std::string> logLines();
  // Serves again on 127.0.0.1 with other settings.
  void restartWith(ServerSettings settings);

  std::unique_ptr<TempDir> dir_;
  std::unique_ptr<RouteService> service_;
  std::unique_ptr<Database> db_;
  int port_ = 0;
  std::mutex logMutex_;
  std::vector<RequestRecord> log_;
};

}  // namespace tarvine::serve::test
