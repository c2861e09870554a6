#pragma once
// Named connection profiles of the host window (route service, facility and person), kept with
// QSettings beside the window's placement, and the profile used last.

#include <QSettings>
#include <optional>
#include <string>
#include <vector>

namespace tarvine::qt {

// What a control is told before it shows a load, under a name the dispatcher chose.
struct ConnectionProfile {
  std::string name;
  std::string server;  // scheme and host of the route service, as PutServerName takes it
  std::string facility;
  std::string personId;  // 16-bit numbers, as SetPersonInformation takes them
  std::string personType;
};

// The host window's settings: ~/.config/TarvineOrderPick/host.conf on Linux.
QSettings hostSettings();

// The saved profiles, the one used last first, the others in the order they were saved.
std::vector<ConnectionProfile> savedProfiles();
// The saved profile of that name (names compare exactly), or nothing.
std::optional<ConnectionProfile> savedProfile(const std::string& name);
// Saves the profile (replacing one of the same name) and makes it the one used last.
void saveProfile(const ConnectionProfile& profile);
// Removes the profile of that name, if saved.
void removeProfile(const std::string& name);

}  // namespace tarvine::qt
