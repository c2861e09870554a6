#pragma once
// Points a control at a route service as the demo's host does: facility DEMO, person 7 of type 2.

#include <string>

namespace tarvine::test {

// The host's three setters for the demo data at `server` ("http://127.0.0.1:PORT").
template <typename Control>
void pointAtDemo(Control& control, const std::string& server) {
  control.PutServerName(server);
  control.SetFacilityID("DEMO");
  control.SetPersonInformation("7", "2");
}

}  // namespace tarvine::test
