#include "platform/HttpRequest.h"

#include <curl/curl.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

#include "platform/HttpUrlRules.h"
#include "platform/HugePages.h"
#include "platform/RuntimeError.h"
#include "platform/Text.h"
#include "platform/Waiting.h"

namespace tarvine {
namespace {

// Initialises libcurl once per process, thread-safely, before the first handle is made.
void ensureCurlInitialized() {
  struct CurlGlobal {
    CurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
    ~CurlGlobal() { curl_global_cleanup(); }
  };
  static const CurlGlobal global;
}

struct EasyCleanup {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct SlistCleanup {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyCleanup>;
using HeaderList = std::unique_ptr<curl_slist, SlistCleanup>;

RuntimeError httpError(CURLcode code, std::string description) {
  return RuntimeError(kHttpErrorBase + static_cast<std::int32_t>(code), std::move(description),
                      kHttpErrorSource);
}

RuntimeError badArgument(std::string description) {
  return httpError(CURLE_BAD_FUNCTION_ARGUMENT, std::move(description));
}

// "scheme://[user@]authority[/path]" -> "authority"; any other value is returned unchanged.
std::string hostHeaderValue(const std::string& value) {
  const std::size_t separator = value.find("://");
  if (separator == std::string::npos || separator == 0) return value;
  const bool schemeLike = std::all_of(value.begin(), value.begin() + separator, [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '-' || c == '.';
  });
  if (!schemeLike) return value;
  std::string_view authority = std::string_view(value).substr(separator + 3);
  authority = authority.substr(0, authority.find_first_of("/?#"));
  if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
    authority.remove_prefix(at + 1);
  }
  return std::string(authority);
}

std::string sizeText(std::size_t bytes) {
  constexpr std::size_t kMiB = std::size_t{1} << 20;
  if (bytes >= kMiB && bytes % kMiB == 0) return std::to_string(bytes / kMiB) + " MiB";
  return std::to_string(bytes) + " bytes";
}

// Collects the reply body and refuses to grow it past the limit. The body grows on the thread
// that runs the exchange; `received` may be read from any thread.
struct ReplySink {
  std::string body;
  CURL* easy = nullptr;
  std::size_t limit = 0;
  bool overLimit = false;
  std::atomic<std::size_t> received{0};
};

std::size_t writeReply(char* data, std::size_t size, std::size_t count, void* userData) {
  auto* sink = static_cast<ReplySink*>(userData);
  const std::size_t bytes = size * count;
  if (bytes > sink->limit - sink->body.size()) {
    sink->overLimit = true;
    return 0;  // makes libcurl abort the transfer
  }
  // A reply that states its length gets its memory at once, with a byte to spare for the parser's
  // end mark, instead of growing and moving a large body step by step.
  curl_off_t announced = -1;
  if (sink->body.empty() &&
      curl_easy_getinfo(sink->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced) == CURLE_OK &&
      announced > 0 && static_cast<std::size_t>(announced) <= sink->limit) {
    reserveOnHugePages(sink->body, static_cast<std::size_t>(announced) + 1);
  }
  sink->body.append(data, bytes);
  sink->received.store(sink->body.size(), std::memory_order_relaxed);
  return bytes;
}

// Builds the header list: the headers as set, then empty entries that keep libcurl from adding
// its own Accept, Expect and Content-Type when they were not set.
HeaderList buildHeaderList(const std::vector<std::pair<std::string, std::string>>& headers) {
  HeaderList list;
  auto append = [&list](const std::string& line) {
    curl_slist* grown = curl_slist_append(list.get(), line.c_str());
    if (!grown) throw httpError(CURLE_OUT_OF_MEMORY, curl_easy_strerror(CURLE_OUT_OF_MEMORY));
    list.release();
    list.reset(grown);
  };
  auto isSet = [&headers](std::string_view name) {
    return std::any_of(headers.begin(), headers.end(), [name](const auto& header) {
      return text::equalsIgnoringCase(header.first, name);
    });
  };
  for (const auto& [name, value] : headers) {
    const std::string sent =
        text::equalsIgnoringCase(name, "Host") ? hostHeaderValue(value) : value;
    // "Name;" is libcurl's way to send a header with an empty value; "Name:" would remove it.
    append(sent.empty() ? name + ";" : name + ": " + sent);
  }
  for (const char* suppressed : {"Accept", "Expect", "Content-Type"}) {
    if (!isSet(suppressed)) append(std::string(suppressed) + ":");
  }
  return list;
}

long milliseconds(std::chrono::milliseconds duration) {
  return static_cast<long>(std::max<std::chrono::milliseconds::rep>(duration.count(), 0));
}

curl_off_t maxFileSize(std::size_t bytes) {
  constexpr auto kLargest = std::numeric_limits<curl_off_t>::max();
  return bytes > static_cast<std::size_t>(kLargest) ? kLargest : static_cast<curl_off_t>(bytes);
}

template <typename Value>
void setOption(CURL* handle, CURLoption option, Value value) {
  if (const CURLcode code = curl_easy_setopt(handle, option, value); code != CURLE_OK) {
    throw httpError(code, curl_easy_strerror(code));
  }
}

std::string failureDescription(CURLcode code, const char* detail) {
  std::string description = curl_easy_strerror(code);
  std::string_view extra(detail);
  while (!extra.empty() && (extra.back() == '\n' || extra.back() == '\r')) extra.remove_suffix(1);
  // libcurl often ends its detail with the general text again; once is enough.
  if (extra.ends_with(": " + description)) extra.remove_suffix(description.size() + 2);
  if (!extra.empty() && extra != description) {
    description += ": ";
    description += extra;
  }
  return description;
}

bool holdsControlCharacter(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// One transfer on a multi handle of its own, so that cancel() can wake the wait at once from
// another thread instead of waiting for libcurl's next progress call.
class CurlRun final : public RunningExchange {
 public:
  CurlRun(CURL* easy, const ReplySink& sink)
      : easy_(easy), sink_(sink), multi_(curl_multi_init()) {}
  ~CurlRun() { curl_multi_cleanup(multi_); }
  CurlRun(const CurlRun&) = delete;
  CurlRun& operator=(const CurlRun&) = delete;

  void run() noexcept override {
    if (!multi_ || curl_multi_add_handle(multi_, easy_) != CURLM_OK) {
      code_ = multi_ ? CURLE_FAILED_INIT : CURLE_OUT_OF_MEMORY;
      return;
    }
    int running = 1;
    bool broken = false;
    while (running > 0 && !cancelled_.load() && !broken) {
      broken = curl_multi_perform(multi_, &running) != CURLM_OK ||
               (running > 0 && curl_multi_poll(multi_, nullptr, 0, 1000, nullptr) != CURLM_OK);
    }
    code_ = cancelled_.load() ? CURLE_ABORTED_BY_CALLBACK : CURLE_RECV_ERROR;
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_, &left)) {
      if (message->msg == CURLMSG_DONE) code_ = message->data.result;
    }
    curl_multi_remove_handle(multi_, easy_);
  }
  std::size_t bytesReceived() const noexcept override {
    return sink_.received.load(std::memory_order_relaxed);
  }
  void cancel() noexcept override {
    cancelled_.store(true);
    if (multi_) curl_multi_wakeup(multi_);
  }

  CURLcode code() const { return code_; }
  bool cancelled() const { return cancelled_.load() && code_ == CURLE_ABORTED_BY_CALLBACK; }

 private:
  CURL* easy_;
  const ReplySink& sink_;
  CURLM* multi_;
  std::atomic<bool> cancelled_{false};
  CURLcode code_ = CURLE_OK;
};

}  // namespace

void HttpRequest::open(std::string method, std::string url) {
  const bool get = text::equalsIgnoringCase(method, "GET");
  if (!get && !text::equalsIgnoringCase(method, "POST")) {
    throw badArgument("Only the POST and GET methods are supported");
  }
  refuseClearTextCredentials(url);
  method_ = get ? "GET" : "POST";
  url_ = std::move(url);
  headers_.clear();
  response_.clear();
  contentType_.clear();
  status_ = 0;
  readyState_ = kOpened;
}

void HttpRequest::setRequestHeader(std::string name, std::string value) {
  if (readyState_ != kOpened) throw badArgument("The request is not open");
  if (name.empty() || name.find_first_of(": \t") != std::string::npos ||
      holdsControlCharacter(name) || holdsControlCharacter(value)) {
    throw badArgument("Invalid request header");
  }
  headers_.emplace_back(std::move(name), std::move(value));
}

void HttpRequest::send(std::string_view body) {
  if (readyState_ != kOpened) throw badArgument("The request is not open");
  response_.clear();
  contentType_.clear();
  status_ = 0;

  // Everything the handle points to is declared before it, so it outlives the handle.
  char errorText[CURL_ERROR_SIZE] = {};
  ReplySink sink;
  sink.limit = maxReplyBytes_;
  const HeaderList headers = buildHeaderList(headers_);
  ensureCurlInitialized();
  EasyHandle handle(curl_easy_init());
  if (!handle) throw httpError(CURLE_FAILED_INIT, curl_easy_strerror(CURLE_FAILED_INIT));
  CURL* curl = handle.get();
  sink.easy = curl;

  setOption(curl, CURLOPT_ERRORBUFFER, errorText);
  setOption(curl, CURLOPT_NOSIGNAL, 1L);
  setOption(curl, CURLOPT_URL, url_.c_str());
  setOption(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  // An empty proxy makes libcurl ignore the proxy variables.
  if (proxyVariablesIgnored()) setOption(curl, CURLOPT_PROXY, "");
  setOption(curl, CURLOPT_FOLLOWLOCATION, 0L);
  // HTTP/1.1 on every scheme, so the headers go out as set and in that order.
  setOption(curl, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  setOption(curl, CURLOPT_CONNECTTIMEOUT_MS, milliseconds(timeouts_.connect));
  setOption(curl, CURLOPT_TIMEOUT_MS, milliseconds(timeouts_.total));
  if (method_ == "GET") {
    setOption(curl, CURLOPT_HTTPGET, 1L);
  } else {
    setOption(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    setOption(curl, CURLOPT_POSTFIELDS, body.empty() ? "" : body.data());
  }
  setOption(curl, CURLOPT_HTTPHEADER, headers.get());
  setOption(curl, CURLOPT_MAXFILESIZE_LARGE, maxFileSize(maxReplyBytes_));
  setOption(curl, CURLOPT_WRITEFUNCTION, writeReply);
  setOption(curl, CURLOPT_WRITEDATA, &sink);
  // The certificate authorities to trust for https, as the curl tool takes them; by default
  // the system's bundle. Verification itself always stays on.
  if (const char* caBundle = std::getenv("CURL_CA_BUNDLE"); caBundle && *caBundle) {
    setOption(curl, CURLOPT_CAINFO, caBundle);
  }

  CurlRun transfer(curl, sink);
  currentWaiting().wait(activity_, transfer);
  if (transfer.cancelled()) throw httpError(CURLE_ABORTED_BY_CALLBACK, "Cancelled by the user");
  const CURLcode code = transfer.code();
  if (sink.overLimit || code == CURLE_FILESIZE_EXCEEDED) {
    throw httpError(CURLE_FILESIZE_EXCEEDED,
                    "The reply is larger than " + sizeText(maxReplyBytes_));
  }
  if (code != CURLE_OK) throw httpError(code, failureDescription(code, errorText));

  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  status_ = status;
  const char* contentType = nullptr;
  curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &contentType);
  contentType_ = contentType ? contentType : "";
  response_ = std::move(sink.body);
  readyState_ = kDone;
}

}  // namespace tarvine
