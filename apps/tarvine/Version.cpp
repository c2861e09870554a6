#include "Version.h"

#include <curl/curl.h>
#include <sqlite3.h>

#include <pugixml.hpp>

#include "WindowRun.h"

namespace tarvine::app {
namespace {

// pugixml has no run-time query; its header gives major * 1000 + minor * 10 (+ patch).
std::string pugixmlVersion() {
  constexpr int kVersion = PUGIXML_VERSION;
  std::string text = std::to_string(kVersion / 1000) + "." + std::to_string(kVersion % 1000 / 10);
  if (kVersion % 10 != 0) text += "." + std::to_string(kVersion % 10);
  return text;
}

}  // namespace

std::string versionText() {
  std::string text = "tarvine " TARVINE_VERSION "\n";
  text += "libcurl ";
  text += curl_version_info(CURLVERSION_NOW)->version;
  text += ", pugixml " + pugixmlVersion();
  text += ", SQLite ";
  text += sqlite3_libversion();
  if (auto toolkit = windowToolkitVersion()) text += ", " + *toolkit;
  return text;
}

}  // namespace tarvine::app
