#pragma once
// The text of `tarvine --version`.

#include <string>

namespace tarvine::app {

// "tarvine 2.0.0" on the first line, then the libraries this program runs on with their
// versions (libcurl, pugixml, SQLite, and Qt when built with the window). Never fails.
std::string versionText();

}  // namespace tarvine::app
