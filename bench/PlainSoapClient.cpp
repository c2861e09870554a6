#include "PlainSoapClient.h"

#include <curl/curl.h>

#include <memory>
#include <pugixml.hpp>
#include <stdexcept>

namespace tarvine::bench {
namespace {

std::size_t collect(char* data, std::size_t size, std::size_t count, void* body) {
  static_cast<std::string*>(body)->append(data, size * count);
  return size * count;
}

}  // namespace

std::string plainSoapPost(const std::string& url, const std::string& soapAction,
                          const std::string& envelope) {
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
  if (!curl) throw std::runtime_error("curl_easy_init failed");
  curl_slist* headers = nullptr;
  headers = curl_slist_append(headers, "Content-Type: text/xml; charset=utf-8");
  headers = curl_slist_append(headers, ("SOAPAction: " + soapAction).c_str());
  headers = curl_slist_append(headers, "Expect:");
  std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headerList(headers,
                                                                         curl_slist_free_all);
  std::string body;
  curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl.get(), CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDS, envelope.c_str());
  curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDSIZE_LARGE,
                   static_cast<curl_off_t>(envelope.size()));
  curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, collect);
  curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &body);
  const CURLcode code = curl_easy_perform(curl.get());
  if (code != CURLE_OK) throw std::runtime_error(curl_easy_strerror(code));
  return body;
}

std::size_t plainSoapExchange(const std::string& url, const std::string& soapAction,
                              const std::string& envelope) {
  const std::string body = plainSoapPost(url, soapAction, envelope);
  pugi::xml_document document;
  if (!document.load_buffer(body.data(), body.size())) {
    throw std::runtime_error("the reply is not XML");
  }
  return body.size();
}

}  // namespace tarvine::bench
