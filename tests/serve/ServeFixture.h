// A route service on 127.0.0.1 with the demo data in a temporary database, a client that talks to
// it the way the control does, and a transcript of everything each request showed and changed.
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

using TempDir = tarvine::test::TemporaryFolder;
using Parameters = std::vector<std::pair<std::string, std::string>>;

// The request envelope as the control builds it around an operation body.
std::string clientEnvelope(const std::string& operationBody);
// An operation element in the service's namespace with its parameters (values XML-escaped).
std::string operationBody(const std::string& operation, const Parameters& parameters);
// The body of GetOutgoingLoadAllOrders.
std::string allOrdersQuery(int load, const std::string& facility = "DEMO");

// POSTs body to the endpoint of the service at port with the given SOAPAction (none: omitted)
// and extra headers; chunked: without Content-Length, in chunks.
HttpReply postTo(int port, const std::string& body, const std::optional<std::string>& soapAction,
                 const std::map<std::string, std::string>& headers = {}, bool chunked = false);
// GETs a path (and query) of the service at port.
HttpReply getFrom(int port, const std::string& target);

// Every row of every table of db, every column quoted, sorted; the times at which history
// entries were recorded written as '#'.
std::vector<std::string> contents(Database& db);
// The rows of a data set reply, one line each as "name=value ..."; the dates' zone offset
// (the machine's zone) written as "+zone". Fails the test when the reply holds no data set.
std::string dataSetText(const std::string& replyBody);

// What a transcript step shows of a reply beside its status, log lines and changed rows.
enum class Show { Body, Rows, RowCount };

class ServeFixture : public ::testing::Test {
 protected:
  void SetUp() override;

  // Adds to the transcript: the title, the reply's status and content type, its fault (code
  // and string) or what `show` says of it, the log lines (text and JSON, time and duration
  // written as #) and the database rows it removed (-) and added (+).
  void record(const std::string& title, const HttpReply& reply, Show show = Show::Body);
  // Runs SQL on the service's database before the next step; its changes are not recorded.
  void arrange(const std::string& sql);
  // Serves again on 127.0.0.1 with other settings.
  void restartWith(ServerSettings settings);

  // Destroyed from the last: the connection, the service, then its log and folder.
  std::unique_ptr<TempDir> dir_;
  std::mutex logMutex_;
  std::vector<RequestRecord> log_;
  std::unique_ptr<RouteService> service_;
  std::unique_ptr<Database> db_;
  int port_ = 0;
  std::string transcript_;
  std::size_t logSeen_ = 0;
  std::vector<std::string> rowsSeen_;
};

}  // namespace tarvine::serve::test
