#include "platform/HttpUrlRules.h"

#include <curl/curl.h>

#include <cstdlib>
#include <memory>
#include <string_view>

#include "platform/HttpRequest.h"
#include "platform/RuntimeError.h"

namespace tarvine {
namespace {

struct UrlCleanup {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

// Whether the parsed URL has the part (a text that libcurl allocated, freed here).
bool hasPart(CURLU* url, CURLUPart part) {
  char* text = nullptr;
  if (curl_url_get(url, part, &text, 0) != CURLUE_OK) return false;
  curl_free(text);
  return true;
}

}  // namespace

void refuseClearTextCredentials(const std::string& url) {
  const std::unique_ptr<CURLU, UrlCleanup> parsed(curl_url());
  // The same reading as libcurl's own: a URL without a scheme is taken as http.
  constexpr unsigned kFlags = CURLU_GUESS_SCHEME | CURLU_NON_SUPPORT_SCHEME;
  if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(), kFlags) != CURLUE_OK) {
    return;
  }
  char* scheme = nullptr;
  if (curl_url_get(parsed.get(), CURLUPART_SCHEME, &scheme, 0) != CURLUE_OK) return;
  const bool https = std::string_view(scheme) == "https";
  curl_free(scheme);
  if (https ||
      !(hasPart(parsed.get(), CURLUPART_USER) || hasPart(parsed.get(), CURLUPART_PASSWORD))) {
    return;
  }
  throw RuntimeError(kHttpErrorBase + CURLE_BAD_FUNCTION_ARGUMENT,
                     "The server address holds a user name or password; they are only sent "
                     "over https",
                     kHttpErrorSource);
}

bool proxyVariablesIgnored() {
  const char* value = std::getenv("TARVINE_NO_PROXY");
  return value != nullptr && *value != '\0' && std::string_view(value) != "0";
}

}  // namespace tarvine
