#pragma once
// What an HTTP request refuses or leaves out before libcurl sees it: credentials that would go
// out in clear text, and the proxy variables when the environment asks to ignore them.

#include <string>

namespace tarvine {

// Throws RuntimeError (kHttpErrorBase + 43, libcurl's bad-argument code, source "libcurl") when
// the URL holds a user name or password and is not https: libcurl would send them as Basic
// authentication that anyone on the way can read. A URL libcurl cannot read passes; sending it
// fails later with libcurl's own error.
void refuseClearTextCredentials(const std::string& url);

// True when TARVINE_NO_PROXY is set to anything but empty or "0": requests then go straight to
// the server, whatever http_proxy, https_proxy, ALL_PROXY and no_proxy say.
bool proxyVariablesIgnored();

}  // namespace tarvine
