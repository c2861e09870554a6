#include "tools/RouteServiceCheck.h"

#include <curl/curl.h>

#include <pugixml.hpp>
#include <set>

#include "platform/RuntimeError.h"
#include "platform/XmlDocument.h"
#include "service/RouteOperations.h"

namespace tarvine::tools {
namespace {

// A service description is small; anything larger is not one.
constexpr std::size_t kMaxDescriptionBytes = std::size_t{4} << 20;

constexpr const char* kWsdlNamespace = "http://schemas.xmlsoap.org/wsdl/";

bool isTlsFailure(CURLcode code) {
  switch (code) {
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_SSL_ENGINE_NOTFOUND:
    case CURLE_SSL_ENGINE_SETFAILED:
    case CURLE_SSL_SHUTDOWN_FAILED:
    case CURLE_SSL_CRL_BADFILE:
      return true;
    default:
      return false;
  }
}

ServiceCheck failedExchange(const RuntimeError& error) {
  const auto code = static_cast<CURLcode>(error.number() - kHttpErrorBase);
  if (code == CURLE_ABORTED_BY_CALLBACK) {
    return {ServiceVerdict::Cancelled, "The test was cancelled."};
  }
  if (code == CURLE_BAD_FUNCTION_ARGUMENT || code == CURLE_URL_MALFORMAT) {
    return {ServiceVerdict::BadAddress, "The address cannot be used: " + error.description() + "."};
  }
  if (isTlsFailure(code)) {
    return {ServiceVerdict::TlsProblem,
            "The secure connection failed: " + error.description() +
                ". Check http:// or https:// in the address, and that this computer trusts the "
                "server's certificate."};
  }
  if (code == CURLE_FILESIZE_EXCEEDED || code == CURLE_GOT_NOTHING || code == CURLE_RECV_ERROR ||
      code == CURLE_WEIRD_SERVER_REPLY) {
    return {ServiceVerdict::NotRouteService,
            "The server answers, but not as a route service: " + error.description() + "."};
  }
  return {ServiceVerdict::Unreachable,
          "The route service cannot be reached: " + error.description() +
              ". Check the address and that the service runs."};
}

// The verdict on a reply to the description request.
ServiceCheck judgeDescription(long status, const std::string& body) {
  const std::string notService = "The server answers, but not as a route service: ";
  if (status != 200) {
    return {ServiceVerdict::NotRouteService,
            notService + "it has no service description at this address (HTTP " +
                std::to_string(status) + ")."};
  }
  pugi::xml_document document;
  if (!document.load_buffer(body.data(), body.size()) ||
      localName(document.document_element().name()) != "definitions" ||
      namespaceOf(document.document_element()) != kWsdlNamespace) {
    return {ServiceVerdict::NotRouteService,
            notService + "what it sends is not a service description."};
  }
  std::set<std::string, std::less<>> offered;
  for (const pugi::xml_node portType : document.document_element().children()) {
    if (localName(portType.name()) != "portType") continue;
    for (const pugi::xml_node operation : portType.children()) {
      if (localName(operation.name()) == "operation")
        offered.insert(operation.attribute("name").value());
    }
  }
  std::string missing;
  for (const service::RouteOperation& operation : service::kRouteOperations) {
    if (offered.count(operation.name) != 0) continue;
    missing += (missing.empty() ? "" : ", ") + std::string(operation.name);
  }
  if (!missing.empty()) {
    return {ServiceVerdict::Incomplete,
            "The server is a web service, but not the route service this program needs: it "
            "lacks " +
                missing + "."};
  }
  return {ServiceVerdict::Ready, "The route service answers, with all seven operations."};
}

}  // namespace

std::string addressProblem(const std::string& server) {
  for (const std::string_view scheme : {"http://", "https://"}) {
    if (server.rfind(scheme, 0) == 0 && server.size() > scheme.size()) return {};
  }
  return "The route service address starts with http:// or https://, followed by the server "
         "(e.g. http://backoffice:8080).";
}

ServiceCheck checkRouteService(const std::string& server, HttpTimeouts timeouts) {
  if (std::string problem = addressProblem(server); !problem.empty()) {
    return {ServiceVerdict::BadAddress, std::move(problem)};
  }
  try {
    HttpRequest request;
    request.setTimeouts(timeouts);
    request.setMaxReplyBytes(kMaxDescriptionBytes);
    request.setActivity({"Asking " + server + " for its description…", true});
    request.open("GET", server + std::string(service::kServicePath) + "?wsdl");
    request.send({});
    return judgeDescription(request.status(), request.takeResponseText());
  } catch (const RuntimeError& error) {
    return failedExchange(error);
  }
}

}  // namespace tarvine::tools
